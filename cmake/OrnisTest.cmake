# ornis_add_test(<name> [CORE] SOURCES <files...> LIBS <targets...>)
# One QTest executable registered with CTest; widget tests run offscreen and the
# fixture folder is known to every test as ORNIS_TEST_DATA. CORE tests (the plain C++
# model, link and virtual exchange) also run under the sanitizers: they carry the label
# "core" and belong to the target ornis_core_tests.
add_custom_target(ornis_core_tests)

function(ornis_add_test name)
    cmake_parse_arguments(ARG "CORE" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    target_compile_definitions(${name} PRIVATE
        ORNIS_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        TIMEOUT 300)
    if(ARG_CORE)
        set_tests_properties(${name} PROPERTIES LABELS core)
        add_dependencies(ornis_core_tests ${name})
    endif()
endfunction()
