#!/usr/bin/env bash
# Upload benchmark: the demo site (HTML viewer) and a site of PICTURES pictures of SIZE
# bytes (Torvexa viewer) uploaded with `quorvale-cli upload` to an SFTP server on this
# machine (Debian's sshd on 127.0.0.1, started here), a first time into an empty folder
# and a second, unchanged time; next to `rsync -a` over SSH to the same server. Prints
# the times and the ratios. A measurement, not a test: run it on its own.
#
#   bench/upload_bench.sh [BUILD_DIR] [PICTURES] [SIZE]
#   defaults: build 200 524288
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
PICTURES=${2:-200}
SIZE=${3:-524288}
for tool in rsync ssh /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "upload_bench: $tool is needed" >&2; exit 2; }
done
CLI=$BUILD/bin/quorvale-cli
MAKE_PROJECT=$BUILD/bin/make_project

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quorvale-upload-bench.XXXXXX")
work=$WORK
export HOME="$WORK/home"
. "$ROOT/bench/bench_common.sh"
. "$ROOT/tests/cli/local_sshd.sh"
sshd_setup
trap 'sshd_stop; rm -rf "$WORK"' EXIT
sshd_start host_key
ssh-keyscan -p "$sshd_port" 127.0.0.1 >"$HOME/.ssh/known_hosts" 2>/dev/null
machine

# The demo site, and the site of the generated pictures.
"$ROOT/tools/make-demo.sh" "$BUILD" "$WORK/demo" "$WORK/demo.qs1" >/dev/null 2>&1
mkdir -p "$WORK/pictures" "$WORK/big" "$WORK/viewer"
head -c $((SIZE * PICTURES)) /dev/urandom | split -b "$SIZE" -d -a 4 --additional-suffix=.jpg - "$WORK/pictures/pic"
"$MAKE_PROJECT" --viewer-files "$WORK/viewer"
"$MAKE_PROJECT" "$WORK/big.qs1" "$WORK/big" --album "Pictures" $(ls "$WORK"/pictures/*.jpg | head -100) \
  --album "More" $(ls "$WORK"/pictures/*.jpg | tail -n +101)
"$CLI" generate "$WORK/big.qs1" --viewer-source "$WORK/viewer" >/dev/null 2>&1 || true

user=$(id -un)
RSH="ssh -p $sshd_port -i $HOME/.ssh/id_ed25519 -o BatchMode=yes -o UserKnownHostsFile=$HOME/.ssh/known_hosts"
REPEAT=${REPEAT:-3}
for site in demo big; do
  files=$(($(wc -l <"$WORK/$site/PhotoAlbum/site.manifest") - 1))
  bytes=$(du -sb "$WORK/$site" | cut -f1)
  UPLOAD=("$CLI" upload "$WORK/$site.qs1" --to "sftp://$user@127.0.0.1:$sshd_port$WORK/server-$site")
  for ((round = 0; round < REPEAT; round++)); do
    sample "${site}_upload_first" "rm -rf '$WORK/server-$site'" "${UPLOAD[@]}"
    sample "${site}_upload_second" ':' "${UPLOAD[@]}"
    sample "${site}_rsync_first" "rm -rf '$WORK/rsync-$site'" rsync -a -e "$RSH" "$WORK/$site/" "$user@127.0.0.1:$WORK/rsync-$site/"
    sample "${site}_rsync_second" ':' rsync -a -e "$RSH" "$WORK/$site/" "$user@127.0.0.1:$WORK/rsync-$site/"
  done
  echo "$site site: $files files, $((bytes / 1048576)) MB; best of $REPEAT rounds:"
  for name in upload_first upload_second rsync_first rsync_second; do report "${site}_$name"; done
  echo "  ratios (upload / rsync -a over SSH)              wall    cpu"
  ratio_line "first upload / rsync first" "${site}_upload_first" "${site}_rsync_first"
  ratio_line "unchanged upload / rsync unchanged" "${site}_upload_second" "${site}_rsync_second"
done
