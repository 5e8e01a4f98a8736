#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Quillmark needs.
# Idempotent: does nothing (not even an index update) when everything is present.
# Usage: tools/install-deps.sh [--fuzz] [--bench] [--deb] [--icons]
set -euo pipefail

packages=(
  # toolchain
  g++ cmake ninja-build pkg-config
  # Qt 6: Core, Gui, Widgets, PrintSupport, Xml, Network, Test, and the TIFF/ICO image plugins
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl-dev
  # pictures
  libpng-dev libjpeg-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # reading exported PDF files back in the tests (pdftotext, pdfinfo, pdftoppm)
  poppler-utils
  # the symbol font is generated from DejaVu Sans; fontforge's Python module builds it
  fonts-dejavu-core python3-fontforge
  # printed pages: Liberation Sans and Carlito stand in for Arial and Calibri (same metrics)
  fonts-liberation2 fonts-crosextra-carlito
  # running the window on a machine without a display, driving it from a script (xdotool),
  # and screenshots (xwd, turned into PNG by netpbm's xwdtopnm and pnmtopng)
  xvfb xauth x11-apps xdotool netpbm
  # checking the installed desktop entry, file types and AppStream metadata
  desktop-file-utils appstream shared-mime-info
)
for option in "$@"; do
  case "$option" in
    # the compiler and runtime of the libFuzzer targets (fuzz/README.md)
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    # ImageMagick, which tools/bench-convert.sh times side by side with Quillmark, GNU time
    # for the peak memory of both, and perf for profiling
    --bench) packages+=(imagemagick time linux-perf) ;;
    # the Debian package's tools: dpkg-shlibdeps finds the libraries it depends on
    --deb) packages+=(dpkg-dev file) ;;
    # rsvg-convert, which tools/make-icons.sh draws the PNG icons with
    --icons) packages+=(librsvg2-bin) ;;
    *) echo "install-deps: unknown option $option" >&2; exit 1 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing and need root to install: ${missing[*]}" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
