# Lays out a seed corpus: empties OUTPUT and copies each file of SEEDS (paths
# joined by '|') into it, its name prefixed by its place in the list, since
# fixtures of several folders share names.
# cmake -DOUTPUT=<folder> -DSEEDS=<a|b|...> -P CopySeeds.cmake
string(REPLACE "|" ";" seeds "${SEEDS}")
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT})
set(index 0)
foreach(seed IN LISTS seeds)
    if(NOT EXISTS ${seed})
        message(FATAL_ERROR "seed ${seed} was not made")
    endif()
    get_filename_component(name ${seed} NAME)
    file(COPY_FILE ${seed} ${OUTPUT}/${index}-${name})
    math(EXPR index "${index} + 1")
endforeach()
