# With AMBREL_SPLIT_DEBUG, the installed programs and DLLs of the runtime carry no debug
# information: on install, each one's goes to a file of its own in the build folder
# (debug/NAME.debug, which the installed binary names through its debug link), so the package
# stays small and a debugger given those files still sees everything. The binaries in the build
# folder keep theirs.
option(AMBREL_SPLIT_DEBUG "Install the runtime without debug information, kept apart in debug/" OFF)
set(AMBREL_DEBUG_DIR ${CMAKE_BINARY_DIR}/debug)

function(ambrel_split_debug)
    if(NOT AMBREL_SPLIT_DEBUG)
        return()
    endif()
    if(NOT CMAKE_OBJCOPY)
        message(FATAL_ERROR "AMBREL_SPLIT_DEBUG needs objcopy for the target's binaries")
    endif()
    foreach(target IN LISTS ARGN)
        get_target_property(type ${target} TYPE)
        set(dir ${CMAKE_INSTALL_BINDIR})
        if(type STREQUAL "MODULE_LIBRARY")
            set(dir ${AMBREL_PLUGIN_INSTALL_DIR})
        endif()
        install(CODE "
            set(installed \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${dir}/$<TARGET_FILE_NAME:${target}>\")
            set(debug \"${AMBREL_DEBUG_DIR}/$<TARGET_FILE_NAME:${target}>.debug\")
            file(MAKE_DIRECTORY \"${AMBREL_DEBUG_DIR}\")
            execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --only-keep-debug \"\${installed}\" \"\${debug}\"
                            COMMAND_ERROR_IS_FATAL ANY)
            execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --strip-debug --strip-unneeded
                                    \"--add-gnu-debuglink=\${debug}\" \"\${installed}\"
                            COMMAND_ERROR_IS_FATAL ANY)"
            COMPONENT runtime)
    endforeach()
endfunction()
