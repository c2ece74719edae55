#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks the desktop integration there with the
# freedesktop.org tools: the .desktop entry, the AppStream metainfo, the MIME package, the icon,
# and that pictures under every ending the viewer reads (.mag, .jpe, .jfif, .tiff among them) get
# a MIME type the entry offers, once the MIME database of the prefix is built; and that the
# installed program reads a WebP through its installed module.
# Usage: scripts/check-install.sh BUILD_DIR SAMPLES_DIR
set -euo pipefail
build=$1
samples=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
share=$prefix/share

cmake --install "$build" --prefix "$prefix" >/dev/null
desktop=("$share"/applications/*.desktop)
metainfo=("$share"/metainfo/*.metainfo.xml)
[ ${#desktop[@]} -eq 1 ] && [ ${#metainfo[@]} -eq 1 ] || { echo "expected one of each"; exit 1; }

# One application id: the names of the entry, the metainfo and the icon all carry it.
id=$(basename "${desktop[0]}" .desktop)
[ "$(basename "${metainfo[0]}")" = "$id.metainfo.xml" ] || { echo "metainfo is not $id"; exit 1; }
grep -qx "Icon=$id" "${desktop[0]}" || { echo "the entry's icon is not $id"; exit 1; }
[ -f "$share/icons/hicolor/scalable/apps/$id.svg" ] || { echo "no hicolor icon $id"; exit 1; }

desktop-file-validate "${desktop[0]}"
appstreamcli validate --no-net "${metainfo[0]}" >/dev/null
xmllint --noout "${metainfo[0]}" "$share"/mime/packages/*.xml

update-mime-database "$share/mime"
offered=";$(sed -n 's/^MimeType=//p' "${desktop[0]}")"
while read -r ending sample expected; do
    cp "$samples/$sample" "$prefix/picture.$ending"
    type=$(XDG_DATA_DIRS="$share:/usr/share" XDG_DATA_HOME="$prefix/no-home" \
        xdg-mime query filetype "$prefix/picture.$ending")
    [ "$type" = "$expected" ] || { echo "xdg-mime: .$ending is $type, expected $expected"; exit 1; }
    [[ $offered == *";$type;"* ]] || { echo "the entry does not offer $type (.$ending)"; exit 1; }
done <<'LIST'
mag shapes.mag image/x-mag
jpg gradient.jpg image/jpeg
jpeg gradient.jpg image/jpeg
jpe gradient.jpg image/jpeg
jfif gradient.jpg image/jpeg
gif gradient.gif image/gif
bmp gradient.bmp image/bmp
png gradient.png image/png
tif gradient.tif image/tiff
tiff gradient.tif image/tiff
webp gradient.webp image/webp
avif gradient.avif image/avif
LIST
# The installed program finds its module of the newer formats where the install put it.
"$prefix/bin/velmora" --convert "$samples/gradient.webp" "$prefix/from-webp.png" \
    || { echo "the installed program cannot read WebP"; exit 1; }
echo "installed files of $id are valid"
