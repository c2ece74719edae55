#!/usr/bin/env bash
# Installs the Debian 12 packages that Velmora needs to build, test and run.
# Usage: scripts/install-deps.sh [build|test|fuzz|anchors]   (each includes build; fuzz adds
# clang; anchors adds libvips for the speed-anchor tool the benchmarks are compared with)
set -euo pipefail

build_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
    libjpeg62-turbo-dev libturbojpeg0-dev libpng-dev zlib1g-dev libtiff-dev
    libexif-dev liblcms2-dev libxcb1-dev libfontconfig-dev
    libwebp-dev libavif-dev libheif-dev libjxl-dev
    # The colour tests compare with Little CMS's own jpgicc and tificc.
    liblcms2-utils
    fonts-ipafont-gothic qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
)
test_packages=(
    # The end-to-end mail test: msmtp as the submission program, aiosmtpd as the SMTP server.
    msmtp python3-aiosmtpd
    # The checks of the installed desktop files (scripts/check-install.sh).
    desktop-file-utils appstream libxml2-utils shared-mime-info xdg-utils libfile-mimeinfo-perl
    # The file-information date test reads one instant in two time zones.
    tzdata
    # The bitmap reader's layouts are compared with ImageMagick's decoder and made by its writer.
    imagemagick
    # The screen-profile test starts a private message bus with a stand-in colour daemon.
    dbus-daemon
    # The newer formats' readers are compared with each library's own encoder and decoder tools.
    webp libavif-bin libheif-examples libjxl-tools
    # Lossless JPEG turns are compared with jpegtran's.
    libjpeg-turbo-progs
)
fuzz_packages=(clang libclang-rt-14-dev)
anchor_packages=(libvips-dev)

wanted=("${build_packages[@]}")
case "${1:-build}" in
    test) wanted+=("${test_packages[@]}") ;;
    fuzz) wanted+=("${fuzz_packages[@]}") ;;
    anchors) wanted+=("${anchor_packages[@]}") ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
