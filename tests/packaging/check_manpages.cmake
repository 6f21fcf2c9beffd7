# Renders each manual page as man shows it on a UTF-8 terminal and checks what help2man and
# groff made of the programs' --help and --version: Czech words as written (never "??"),
# the version, and in the SYNOPSIS of ornisset-cli one line a command.
#   cmake -DMAN_DIR=... -DVERSION=... -P check_manpages.cmake

function(render program)
    set(page "${MAN_DIR}/${program}.1.gz")
    if(NOT EXISTS "${page}")
        message(FATAL_ERROR "no manual page ${page}: is help2man installed?")
    endif()
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANWIDTH=80 man -P cat -l "${page}"
        RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE errors)
    if(failed OR NOT errors STREQUAL "")
        message(FATAL_ERROR "man -l ${page} failed:\n${errors}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

function(expect program out text)
    string(FIND "${out}" "${text}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "man ${program} lacks \"${text}\":\n${out}")
    endif()
endfunction()

# A Czech text of each page that has one: from --help, or from the page's own part.
set(czech_ornisset "Program pro nastavení telefonních ústředen")
set(czech_ornisset-cli "Volba;Státní;Číslo;Komentář")

foreach(program ornisset ornisset-cli ornisset-sim)
    render(${program})
    string(FIND "${out}" "??" garbled)
    if(NOT garbled EQUAL -1)
        message(FATAL_ERROR "man ${program} shows \"??\" for letters:\n${out}")
    endif()
    expect(${program} "${out}" "${program} ${VERSION}")
    if(DEFINED czech_${program})
        expect(${program} "${out}" "${czech_${program}}")
    endif()
endforeach()

render(ornisset-cli)
string(REGEX MATCH "\nSYNOPSIS\n(.*)\nDESCRIPTION\n" synopsis "${out}")
set(synopsis "${CMAKE_MATCH_1}")
foreach(command read write verify diff clock convert ports backup)
    if(NOT synopsis MATCHES "(^|\n) +ornisset-cli +${command}[ \n]")
        message(FATAL_ERROR "the SYNOPSIS of ornisset-cli has no line of ${command}:\n"
            "${synopsis}")
    endif()
endforeach()
