# Prepares the Windows syntax check: for every unit that a Windows build of the client takes from
# core/, protocol/, platform/, ui/ and app/, a GCC response file that compiles it for Windows with
# MinGW-w64, syntax only, against Debian's Qt 6 and libxml2 headers and with the flags CMake gives
# the unit in the Linux build. It catches what only POSIX has; Qt for Windows itself is not
# packaged here, so nothing is linked or run. scripts/test-windows.sh runs the files in parallel.
#
#   cmake -DBUILD_DIR=build/ci -DOUTPUT_DIR=build/windows-syntax -P cmake/WindowsSyntaxCheck.cmake
#
# Left out: platform/linux/ (the Linux backend) and platform/windows/core/ (Qt-free, really built
# for Windows and tested under wine by scripts/test-windows.sh). The Windows adapter units, which
# the Linux build leaves out, take the flags of the platform library.
cmake_minimum_required(VERSION 3.25)

get_filename_component(source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
get_filename_component(build_dir "${BUILD_DIR}" ABSOLUTE BASE_DIR "${source_dir}")
get_filename_component(output_dir "${OUTPUT_DIR}" ABSOLUTE BASE_DIR "${source_dir}")
# Declarations of the libraries libxml2's headers include, as their Windows builds have them.
set(stand_ins "${source_dir}/tests/windows/syntaxcheck")

file(READ "${build_dir}/compile_commands.json" database)
string(JSON count LENGTH "${database}")
math(EXPR last "${count} - 1")

set(units "")
foreach(i RANGE ${last})
    string(JSON file GET "${database}" ${i} file)
    file(RELATIVE_PATH relative "${source_dir}" "${file}")
    if(NOT relative MATCHES "^(core|protocol|platform|ui|app)/"
       OR relative MATCHES "^platform/(linux|windows/core)/"
       OR relative IN_LIST units)
        continue()
    endif()
    list(APPEND units "${relative}")
    string(JSON "command_${relative}" GET "${database}" ${i} command)
    string(JSON "directory_${relative}" GET "${database}" ${i} directory)
endforeach()

file(GLOB adapters RELATIVE "${source_dir}" "${source_dir}/platform/windows/*.cpp")
foreach(relative IN LISTS adapters)
    if(NOT relative IN_LIST units)
        list(APPEND units "${relative}")
        set("command_${relative}" "${command_platform/proxysetting.cpp}")
        set("directory_${relative}" "${directory_platform/proxysetting.cpp}")
    endif()
endforeach()
list(SORT units)

file(REMOVE_RECURSE "${output_dir}")
file(MAKE_DIRECTORY "${output_dir}")
foreach(relative IN LISTS units)
    separate_arguments(arguments UNIX_COMMAND "${command_${relative}}")
    # Drop the compiler (and a launcher before it), the output, the input and what only the
    # Linux build means.
    list(POP_FRONT arguments program)
    if(program MATCHES "ccache$")
        list(POP_FRONT arguments program)
    endif()
    set(flags "")
    set(skip_next FALSE)
    foreach(argument IN LISTS arguments)
        if(skip_next)
            set(skip_next FALSE)
        elseif(argument STREQUAL "-o")
            set(skip_next TRUE)
        elseif(NOT argument MATCHES "^(-c|-fPIC|-fPIE|-fsanitize.*|-fno-sanitize.*)$"
               AND NOT argument MATCHES "\\.(cpp|cc|cxx)$")
            list(APPEND flags "${argument}")
        endif()
    endforeach()
    list(APPEND flags -isystem "${stand_ins}" -fsyntax-only "${source_dir}/${relative}")
    # Response files group by double quotes and escape with backslashes.
    set(response "")
    foreach(argument IN LISTS flags)
        string(REPLACE "\\" "\\\\" argument "${argument}")
        string(REPLACE "\"" "\\\"" argument "${argument}")
        string(APPEND response "\"${argument}\"\n")
    endforeach()
    string(REPLACE "/" "_" name "${relative}")
    file(WRITE "${output_dir}/${name}.rsp" "${response}")
endforeach()
list(LENGTH units total)
message("windows syntax check: ${total} units")
