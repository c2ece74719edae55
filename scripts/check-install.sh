#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks the desktop integration there with the
# freedesktop.org tools: the .desktop entry, the AppStream metainfo, the MIME package, the icon,
# and that a .mag file is recognised once the MIME database of the prefix is built.
# Usage: scripts/check-install.sh BUILD_DIR MAG_SAMPLE
set -euo pipefail
build=$1
sample=$2
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
cp "$sample" "$prefix/picture.mag"
type=$(XDG_DATA_DIRS="$share:/usr/share" XDG_DATA_HOME="$prefix/no-home" \
    xdg-mime query filetype "$prefix/picture.mag")
[ "$type" = image/x-mag ] || { echo "xdg-mime: $type, expected image/x-mag"; exit 1; }
echo "installed files of $id are valid"
