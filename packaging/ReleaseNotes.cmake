# The project's release notes (NEWS.md) in the two forms a distribution reads: a Debian
# changelog and the <release> elements of the AppStream metainfo.
#
# NEWS.md holds one "## VERSION (YYYY-MM-DD)" heading a release, newest first, each
# followed by "- " items whose further lines are indented by two blanks.

# Fills `changelog` with the Debian changelog of package `package` signed by `maintainer`,
# and `releases` with one <release/> line a release.
function(ornis_release_notes news package maintainer changelog releases)
    file(STRINGS "${news}" lines ENCODING UTF-8)
    set(debian "")
    set(xml "")
    set(version "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^## ([0-9][0-9.]*) \\(([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])\\)$")
            _ornis_close_entry()
            set(version "${CMAKE_MATCH_1}")
            set(date "${CMAKE_MATCH_2}")
            string(APPEND debian "${package} (${version}) unstable; urgency=medium\n\n")
            string(APPEND xml "    <release version=\"${version}\" date=\"${date}\"/>\n")
        elseif(line MATCHES "^## ")
            message(FATAL_ERROR "${news}: a release heading is \"## VERSION (YYYY-MM-DD)\": ${line}")
        elseif(version AND line MATCHES "^- (.*)")
            string(APPEND debian "  * ${CMAKE_MATCH_1}\n")
        elseif(version AND line MATCHES "^  (.*)")
            string(APPEND debian "    ${CMAKE_MATCH_1}\n")
        endif()
    endforeach()
    _ornis_close_entry()
    if(debian STREQUAL "")
        message(FATAL_ERROR "${news} holds no release")
    endif()
    string(REGEX REPLACE "\n\n$" "\n" debian "${debian}")
    string(REGEX REPLACE "\n$" "" xml "${xml}")
    set(${changelog} "${debian}" PARENT_SCOPE)
    set(${releases} "${xml}" PARENT_SCOPE)
endfunction()

# The trailer line of the release in hand: the maintainer and the release's date, at noon
# UTC so that it is the same date wherever it is read.
macro(_ornis_close_entry)
    if(version)
        execute_process(COMMAND date -u -R -d "${date} 12:00:00 UTC"
            OUTPUT_VARIABLE stamp OUTPUT_STRIP_TRAILING_WHITESPACE
            RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "${news}: no date: ${date}")
        endif()
        string(APPEND debian "\n -- ${maintainer}  ${stamp}\n\n")
    endif()
endmacro()
