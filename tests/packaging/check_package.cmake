# Builds the package, unpacks it into a scratch root and checks that the files land where
# a desktop and udev look for them; then an install to /usr/local, for the udev rule.
#   cmake -DBUILD_DIR=... -DSCRATCH=... -DCPACK=... -P check_package.cmake

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
expect_files("${root}" "usr/bin/ornisset;usr/bin/ornisset-cli;usr/bin/ornisset-sim;\
usr/lib/udev/rules.d/60-ornisset-serial.rules;usr/share/applications/ornisset.desktop;\
usr/share/icons/hicolor/scalable/apps/ornisset.svg;usr/share/metainfo/ornisset.metainfo.xml")

# Depends comes from the libraries the programs link; udev learns of the rule at once.
run(dpkg-deb -f "${package}" Depends)
foreach(library libqt6serialport6 libqt6widgets6 libqt6svg6)
    if(NOT out MATCHES "${library} ")
        message(FATAL_ERROR "Depends lacks ${library}: ${out}")
    endif()
endforeach()
run(dpkg-deb -I "${package}" postinst)
if(NOT out MATCHES "udevadm control --reload-rules")
    message(FATAL_ERROR "postinst does not reload the udev rules:\n${out}")
endif()

# udev reads no rules under /usr/local.
set(local "${SCRATCH}/local")
run(${CMAKE_COMMAND} -E env DESTDIR=${local}
    ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix /usr/local)
if(NOT EXISTS "${local}/etc/udev/rules.d/60-ornisset-serial.rules")
    message(FATAL_ERROR "an install to /usr/local put the udev rule elsewhere")
endif()
file(REMOVE_RECURSE "${SCRATCH}")
