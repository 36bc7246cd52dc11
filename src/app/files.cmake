list(APPEND MUSIC_SOURCES app/ToolCatalogue.h app/ToolCatalogue.cpp)
list(APPEND UI_SOURCES app/ShellController.h app/ShellController.cpp app/AppStartup.h app/AppStartup.cpp)
list(APPEND QML_FILES app/Main.qml app/ContentView.qml app/Sidebar.qml app/SidebarToolRow.qml app/CoffeeLink.qml)
include(app/stats.cmake)
