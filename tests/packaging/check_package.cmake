# Builds the package, unpacks it into a scratch root, checks that the files land where a
# desktop, man and udev look for them, and checks it as a distribution does: lintian with
# no error or warning, the AppStream metainfo and the desktop entry valid.
#   cmake -DBUILD_DIR=... -DSCRATCH=... -DCPACK=... -DID=... -P check_package.cmake

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed OUTPUT_VARIABLE out
        ERROR_VARIABLE out)
    if(failed)
        message(FATAL_ERROR "${ARGN} failed:\n${out}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

function(expect_files root expected)
    file(GLOB_RECURSE files RELATIVE "${root}" "${root}/*")
    list(SORT files)
    if(NOT files STREQUAL expected)
        message(FATAL_ERROR "files under ${root}:\n  ${files}\nexpected:\n  ${expected}")
    endif()
endfunction()

file(REMOVE_RECURSE "${SCRATCH}")
run(${CPACK} -G DEB -B "${SCRATCH}/deb" WORKING_DIRECTORY "${BUILD_DIR}")
file(GLOB package "${SCRATCH}/deb/*.deb")
list(LENGTH package count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "cpack made ${count} packages")
endif()

set(root "${SCRATCH}/root")
run(dpkg-deb -x "${package}" "${root}")
expect_files("${root}" "etc/ornisset/sites.csv;lib/systemd/system/ornisset-backup.service;\
lib/systemd/system/ornisset-backup.timer;usr/bin/ornisset;usr/bin/ornisset-cli;\
usr/bin/ornisset-sim;usr/lib/sysusers.d/ornisset.conf;usr/lib/tmpfiles.d/ornisset.conf;\
usr/lib/udev/rules.d/60-ornisset-serial.rules;usr/share/applications/${ID}.desktop;\
usr/share/doc/ornisset/changelog.gz;usr/share/doc/ornisset/copyright;\
usr/share/icons/hicolor/scalable/apps/${ID}.svg;\
usr/share/man/man1/ornisset-cli.1.gz;usr/share/man/man1/ornisset-sim.1.gz;\
usr/share/man/man1/ornisset.1.gz;usr/share/metainfo/${ID}.metainfo.xml")

# Depends comes from the libraries the programs link, and brings the report's font.
run(dpkg-deb -f "${package}" Depends)
foreach(dependency libqt6serialport6 libqt6widgets6 libqt6svg6 libxlsxwriter4 libminizip1
        fonts-liberation2)
    if(NOT out MATCHES "${dependency}[ ,\n]")
        message(FATAL_ERROR "Depends lacks ${dependency}: ${out}")
    endif()
endforeach()
# udev learns of the rule at once, and forgets it with the package.
foreach(script postinst postrm)
    run(dpkg-deb -I "${package}" ${script})
    if(NOT out MATCHES "udevadm control --reload-rules")
        message(FATAL_ERROR "${script} does not reload the udev rules:\n${out}")
    endif()
endforeach()

# The nightly backup as systemd takes it: the units verified in the package's tree beside
# this machine's own units, which checks the program ExecStart names and the manual page;
# nothing in the maintainer scripts enables the timer; the example list a conffile.
set(system "${SCRATCH}/system")
file(COPY /lib/systemd/system DESTINATION "${system}/lib/systemd")
run(dpkg-deb -x "${package}" "${system}")
run(${CMAKE_COMMAND} -E env MANPATH=${system}/usr/share/man systemd-analyze verify
    --root=${system} /lib/systemd/system/ornisset-backup.service
    /lib/systemd/system/ornisset-backup.timer)
if(NOT out STREQUAL "")
    message(FATAL_ERROR "systemd-analyze verify:\n${out}")
endif()
run(dpkg-deb -I "${package}" postinst)
if(out MATCHES "(systemctl|deb-systemd-helper)[^\n]* enable")
    message(FATAL_ERROR "the postinst enables something:\n${out}")
endif()
run(dpkg-deb -I "${package}" conffiles)
if(NOT out STREQUAL "/etc/ornisset/sites.csv\n")
    message(FATAL_ERROR "conffiles: ${out}")
endif()
# The user and the folders, made in the tree as the postinst makes them on a system (the
# owners can be set by root only).
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
if(uid STREQUAL "0")
    run(systemd-sysusers --root=${system} ornisset.conf)
    run(systemd-tmpfiles --create --root=${system} ornisset.conf)
    file(STRINGS "${system}/etc/passwd" user REGEX "^ornisset:")
    string(REGEX REPLACE "^ornisset:[^:]*:([0-9]+):.*" "\\1" ornisset "${user}")
    foreach(folder var/lib/ornisset/backups var/lib/prometheus/node-exporter)
        run(stat -c %u "${system}/${folder}")
        string(STRIP "${out}" owner)
        if(folder MATCHES "ornisset" AND NOT owner STREQUAL ornisset)
            message(FATAL_ERROR "${folder} belongs to ${owner}, not ornisset (${ornisset})")
        endif()
    endforeach()
    file(STRINGS "${system}/etc/group" dialout REGEX "^dialout:")
    if(NOT dialout MATCHES "[:,]ornisset$|[:,]ornisset,")
        message(FATAL_ERROR "ornisset is not in the group dialout: ${dialout}")
    endif()
else()
    message(STATUS "not root: the backups' user and folders are not made")
endif()

# The changelog made from the release notes opens with the package's version.
run(dpkg-deb -f "${package}" Version)
string(STRIP "${out}" version)
execute_process(COMMAND gzip -dc "${root}/usr/share/doc/ornisset/changelog.gz"
    OUTPUT_FILE "${SCRATCH}/changelog" COMMAND_ERROR_IS_FATAL ANY)
run(dpkg-parsechangelog -l "${SCRATCH}/changelog" -S Version)
string(STRIP "${out}" logged)
if(NOT logged STREQUAL version)
    message(FATAL_ERROR "the changelog's last release is ${logged}, the package's ${version}: "
        "NEWS.md lacks the release")
endif()

# Each manual page has its hand-written part beside what --help says.
foreach(program ornisset ornisset-cli ornisset-sim)
    run(${CMAKE_COMMAND} -E env MANWIDTH=80
        man -P cat -l "${root}/usr/share/man/man1/${program}.1.gz")
    foreach(section SYNOPSIS DESCRIPTION FILES "EXIT STATUS" ENVIRONMENT EXAMPLES)
        if(NOT out MATCHES "\n${section}\n")
            message(FATAL_ERROR "man ${program} has no ${section}:\n${out}")
        endif()
    endforeach()
endforeach()

# As a distribution checks a package: nothing but informational tags.
run(lintian --fail-on error,warning "${package}")
message(STATUS "lintian: ${out}")
run(appstreamcli validate --no-net --pedantic "${root}/usr/share/metainfo/${ID}.metainfo.xml")
message(STATUS "appstreamcli: ${out}")
run(desktop-file-validate "${root}/usr/share/applications/${ID}.desktop")
file(REMOVE_RECURSE "${SCRATCH}")
