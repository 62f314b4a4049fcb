#!/usr/bin/env bash
# Installs the Debian packages that the build needs (`run`: building and starting the
# program) or that the build and every test need (`test`, the default), when any is
# missing. As root it calls apt-get directly, otherwise through sudo; when neither can
# work it names the missing packages and fails.
#   tools/ensure-packages.sh [run|test]
set -euo pipefail

# The program, the command line, the imaging module (libvips, exiv2), the upload over
# SFTP (libcurl with libssh2, OpenSSL for key fingerprints), the desktop keyring for
# remembered upload passwords (QtKeychain; the build works without it) and both viewers (the
# Torvexa applet is compiled with the JDK, the HTML viewer's PhotoSwipe comes through npm)
# and mimalloc, the allocator the programs link.
packages=(cmake g++ make pkg-config qt6-base-dev libgl1-mesa-dev libvips-dev libexiv2-dev
          libcurl4-openssl-dev libssl-dev qtkeychain-qt6-dev libmimalloc-dev fonts-dejavu-core default-jdk-headless)
case "${1:-test}" in
  run) ;;
  # The tests: GoogleTest, the window on a virtual display, the applet's JUnit tests,
  # the sites in Chromium, rsync for the benchmarks' floor, real servers for the upload
  # (openssh-server and pure-ftpd: the tests start their own sshd and pure-ftpd, the
  # latter with a certificate made by openssl), and the Windows suite
  # (MinGW-w64, Wine and GoogleTest's sources for the cross build).
  test) packages+=(libgtest-dev libgmock-dev xvfb xauth junit4 libhamcrest-java chromium rsync openssh-server
                   pure-ftpd openssl
                   g++-mingw-w64-x86-64-posix wine wine64 googletest unzip) ;;
  *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac
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
