# Fails when a file under SOURCE_DIR (src/) includes a module above its own. Each chain lists
# its modules from the top down; a module may include those after it in its chain, never those
# before it. Modules of different chains may include each other. The core picture modules never
# include the interface strings and boxes.
#   cmake -DSOURCE_DIR=<src> -P check_layering.cmake
cmake_minimum_required(VERSION 3.20)
set(forbidden_codecs ui)
set(forbidden_image ui)

# above_<module>: the modules before it in its chain.
foreach(chain_text IN ITEMS "app|fileops|browse|edit" "codecs|image" "settings|ui|platform|util")
    string(REPLACE "|" ";" chain "${chain_text}")
    set(seen "")
    foreach(module IN LISTS chain)
        set(above_${module} ${seen})
        list(APPEND seen ${module})
    endforeach()
endforeach()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(violations "")
foreach(source IN LISTS sources)
    string(REGEX MATCH "^[a-z_]+" module "${source}")
    set(refused ${above_${module}} ${forbidden_${module}})
    if(NOT refused)
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([a-z_]+)/.*" "\\1" target "${line}")
        if(target IN_LIST refused)
            list(APPEND violations "${source}: ${line}")
        endif()
    endforeach()
endforeach()

if(violations)
    list(JOIN violations "\n" text)
    message(FATAL_ERROR "includes above their module:\n${text}")
endif()
