# Writes the sample FMU's resources.txt and fmi_scaling.json: each variable
# and task given by its place in the built vECU (offset from the load
# address, size, type code), read from the library's symbol table.
#
# cmake -DNM=<nm> -DVECU=<SampleEcu.so> -DOUTPUT_DIR=<resources folder> -P GenerateResources.cmake

execute_process(COMMAND ${NM} -S --defined-only ${VECU}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm failed on ${VECU}")
endif()

# Offset (hexadecimal) and size (decimal) of a symbol.
function(symbol_place name offset_var size_var)
    if(NOT symbols MATCHES "([0-9a-f]+) ([0-9a-f]+) [A-Za-z] ${name}\n")
        message(FATAL_ERROR "${name} is not defined in ${VECU}")
    endif()
    math(EXPR offset "0x${CMAKE_MATCH_1}" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR size "0x${CMAKE_MATCH_2}")
    set(${offset_var} ${offset} PARENT_SCOPE)
    set(${size_var} ${size} PARENT_SCOPE)
endfunction()

# name and type code, in value-reference order (see modelDescription.xml)
set(variables vehicleSpeed 10 acceleration 10 tickCount 5 brakeActive 17 engineTemperature 9)

set(text "vEcuDll\n    SampleEcu.so\nfmiVariables\n")
list(LENGTH variables count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET variables ${i} name)
    list(GET variables ${j} type)
    symbol_place(${name} offset size)
    string(APPEND text "    ${offset} ${size} ${type} 0 0\n")
endforeach()

# name, kind, period, offset, priority, run limit
symbol_place(InitEcu init_offset init_size)
symbol_place(Task10ms task_offset task_size)
string(APPEND text "Tasks\n")
string(APPEND text "    ${init_offset} 32 0 0 1 1\n")
string(APPEND text "    ${task_offset} 160 0.01 0 1 -1\n")

file(WRITE ${OUTPUT_DIR}/resources.txt "${text}")

# The master sees the speed in km/h.
symbol_place(vehicleSpeed speed_offset speed_size)
file(WRITE ${OUTPUT_DIR}/fmi_scaling.json
"[
    {
        \"symbol\": \"vehicleSpeed\",
        \"causality\": \"outputs\",
        \"address\": \"${speed_offset}\",
        \"cm_name\": \"CM_SPEED_KMH\",
        \"LINEAR\": [3.6, 0.0]
    }
]
")
