#!/usr/bin/env bash
# Builds the Debian package quillmark_<version>_amd64.deb in the checkout's top folder from
# build/ (tools/build.sh), with CPack: the files `cmake --install` puts under /usr, the
# programs stripped, and the dependencies dpkg-shlibdeps finds for them. Install it with
#   apt-get install ./quillmark_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --deb
bash tools/build.sh
rm -rf build/package
(cd build && cpack -G DEB -B package)
deb=$(find build/package -maxdepth 1 -name 'quillmark_*_amd64.deb' -print -quit)
if [ -z "$deb" ]; then
  echo "make-deb: cpack wrote no quillmark_*_amd64.deb" >&2
  exit 1
fi
mv -f "$deb" .
echo "$(basename "$deb")"
