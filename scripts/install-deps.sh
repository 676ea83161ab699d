#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the editor need.
# Packages already installed are skipped, so a machine that has everything is not touched.
# apt's own output goes to build/install-deps.log; the terminal gets one line before and one
# after.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  build-essential cmake ninja-build pkg-config clang-format python3
  qt6-base-dev libjpeg62-turbo-dev
  qt6-tools-dev qt6-l10n-tools     # compiling the translations
  qt6-translations-l10n            # Qt's own translations: standard dialogs and buttons
  qt6-wayland                      # the window in a Wayland session (X11 needs nothing more)
  dpkg-dev file lintian            # the Debian package: cpack -G DEB, its dependencies, its check
  desktop-file-utils appstream     # the tests validate the desktop entry and the metainfo
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev            # fuzz targets and the sanitizer build
  xvfb xdotool x11-apps fonts-dejavu-core  # headless window tests and screenshots
  xclip                            # another X client's clipboard, for the window test
  libx11-dev libxdamage-dev libxtst-dev    # the benchmark's X probe (windows, pixels, input)
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  echo "All ${#packages[@]} packages needed are installed."
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
installed_count() {
  dpkg-query -W -f='${db:Status-Abbrev}\n' | grep -c '^ii'
}
mkdir -p "$root/build"
log="$root/build/install-deps.log"
echo "Installing ${missing[*]} and what they depend on (on a fresh system about 430 packages," \
  "a few minutes; apt's output goes to ${log#"$root/"})"
before=$(installed_count)
started=$SECONDS
if ! { $SUDO apt-get update -qq &&
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"; } >"$log" 2>&1; then
  echo "Installing the packages failed; the end of $log:" >&2
  tail -n 20 "$log" >&2
  exit 1
fi
echo "Installed $(($(installed_count) - before)) packages in $((SECONDS - started)) s."
