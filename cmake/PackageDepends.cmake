# Run by cpack (CPACK_PROJECT_CONFIG_FILE): the Debian packages that hold the QML modules the
# app's QML imports, found with qmlimportscanner and dpkg -S, join the package's dependencies.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()

execute_process(COMMAND ${CPACK_MORVELA_QMLIMPORTSCANNER} -rootPath ${CPACK_MORVELA_QML_SOURCE_DIR}
                        -importPath ${CPACK_MORVELA_QT_QML_DIR}
    OUTPUT_VARIABLE imports RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "qmlimportscanner failed: ${errors}")
endif()

set(qmldirs)
string(JSON count LENGTH "${imports}")
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
    # Only Qt's modules: the app's own module is compiled into the binary.
    string(JSON path ERROR_VARIABLE no_path GET "${imports}" ${i} path)
    if(no_path)
        continue()
    endif()
    cmake_path(IS_PREFIX CPACK_MORVELA_QT_QML_DIR "${path}" NORMALIZE in_qt)
    if(in_qt AND EXISTS "${path}/qmldir")
        list(APPEND qmldirs "${path}/qmldir")
    endif()
endforeach()
if(NOT qmldirs)
    message(FATAL_ERROR "qmlimportscanner found no Qt QML module under ${CPACK_MORVELA_QT_QML_DIR}")
endif()

execute_process(COMMAND dpkg-query --search ${qmldirs}
    OUTPUT_VARIABLE owners RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "a QML module the app imports belongs to no installed package: ${errors}")
endif()
set(packages)
string(REPLACE "\n" ";" owners "${owners}")
foreach(line ${owners})
    # "qml6-module-qtquick-layouts:amd64: /usr/lib/.../QtQuick/Layouts/qmldir"
    if(line MATCHES "^([a-z0-9.+-]+)(:[a-z0-9]+)?: ")
        list(APPEND packages ${CMAKE_MATCH_1})
    endif()
endforeach()
list(REMOVE_DUPLICATES packages)
list(SORT packages)
list(APPEND packages ${CPACK_MORVELA_EXTRA_DEPENDS})
list(JOIN packages ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
message(STATUS "QML module and plugin packages: ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
