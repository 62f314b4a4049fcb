#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, when any is missing.
# As root it calls apt-get directly, otherwise through sudo; when neither can work it
# names the missing packages and fails.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev libgl1-mesa-dev libgtest-dev libgmock-dev libvips-dev
          libexiv2-dev xvfb xauth fonts-dejavu-core default-jdk-headless junit4 libhamcrest-java chromium rsync
          g++-mingw-w64-x86-64-posix wine wine64 googletest)
# Node.js and npm may come from elsewhere than Debian (the machine's own Node.js ships
# its npm); only ask for Debian's when the commands are absent.
command -v node >/dev/null 2>&1 || packages+=(nodejs)
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  sudo=(sudo)
else
  echo "Quorvale needs these Debian packages, which are not installed: ${missing[*]}" >&2
  echo "Install them as root (apt-get install ${missing[*]}) and run make again." >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}"
