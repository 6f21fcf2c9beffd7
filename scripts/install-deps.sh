#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the tools need.
# Does nothing when all of them are present. Needs root (or sudo) only when installing.
set -euo pipefail

packages=(
    cmake make g++ pkg-config         # the build
    ccache                            # rebuilds from the compiler cache
    qt6-base-dev qt6-serialport-dev   # Qt Core, Widgets, PrintSupport, Test; QSerialPort
    qt6-svg-dev                       # the exchange pictures
    libxlsxwriter-dev libminizip-dev  # the dial tables as spreadsheets' workbooks (.xlsx)
    qt6-translations-l10n             # Qt's own buttons and dialogs in Czech
    fonts-dejavu-core                 # text in offscreen widget tests and screenshots
    fonts-liberation2                 # the report's font, with the metrics of Courier New
    fonts-urw-base35                  # the report's test: fonts that stand in for Courier New
    poppler-utils                     # the report's test: the text and title of its PDF
    xvfb xauth                        # screenshots in a real window
    python3-pyatspi at-spi2-core dbus-daemon   # the grids read through AT-SPI, as Orca does
    clang libclang-rt-14-dev          # libFuzzer and the sanitizers
    clang-format                      # the formatting check of the test command
    dpkg-dev file                     # the Debian package: its Depends from the linked libraries
    help2man                          # the manual pages, made from each program's --help
    man-db                            # the manual pages' test: each page rendered by man
    lintian appstream desktop-file-utils   # the package's test: as a distribution checks it
    udev                              # the package's test: the udev rule parsed
    systemd                           # the package's test: units verified, user and folders made
    prometheus prometheus-node-exporter   # the fleet's metrics: promtool and a real collector
    ser2net                           # a real serial device server whose port is in use
    libreoffice-calc-nogui            # the dial tables' test through a real spreadsheet
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
