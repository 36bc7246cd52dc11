# Sanitizer builds (presets asan and tsan): MORVELA_SANITIZE holds what -fsanitize= takes
# ("address,undefined", "thread"). Once every folder has been read, each compiled target is
# built and linked with it; a target that already names a sanitizer of its own (a ThreadSanitizer
# test beside an AddressSanitizer build, say) keeps its own, since the two cannot be combined.
set(MORVELA_SANITIZE "" CACHE STRING "Sanitizers for every compiled target, as -fsanitize= takes them")

if(MORVELA_SANITIZE)
    set(MORVELA_SANITIZE_COMPILE_OPTIONS -fsanitize=${MORVELA_SANITIZE} -fno-omit-frame-pointer)
    if(MORVELA_SANITIZE MATCHES "undefined")
        # A report stops the program, as an AddressSanitizer report does.
        list(APPEND MORVELA_SANITIZE_COMPILE_OPTIONS -fno-sanitize-recover=all)
    endif()

    function(morvela_sanitize_folder folder)
        get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
        foreach(target ${targets})
            get_target_property(type ${target} TYPE)
            if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
                continue()
            endif()
            get_target_property(options ${target} COMPILE_OPTIONS)
            if(options MATCHES "-fsanitize=")
                continue()
            endif()
            set_property(TARGET ${target} APPEND PROPERTY COMPILE_OPTIONS ${MORVELA_SANITIZE_COMPILE_OPTIONS})
            set_property(TARGET ${target} APPEND PROPERTY LINK_OPTIONS -fsanitize=${MORVELA_SANITIZE})
        endforeach()
        get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
        foreach(subfolder ${subfolders})
            morvela_sanitize_folder(${subfolder})
        endforeach()
    endfunction()

    cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL morvela_sanitize_folder ${CMAKE_SOURCE_DIR})
endif()
