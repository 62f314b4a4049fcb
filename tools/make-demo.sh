#!/usr/bin/env bash
# Builds the demo project from the demo album source and generates its site with the
# HTML viewer, so the first site a new user opens shows the photographs:
#   tools/make-demo.sh BUILD_FOLDER [SITE_FOLDER [PROJECT_FILE]]
# By default the project lands in BUILD/bin/Projects/Demo.qs1 (where the program's Open
# dialog starts) and the site in BUILD/demo-site. The generation run must end without
# errors or warnings, or the script fails.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
cli="$build/bin/quorvale-cli"
source="$build/demo/source"
site="${2:-$build/demo-site}"
project="${3:-$build/bin/Projects/Demo.qs1}"

mkdir -p "$site" "$(dirname "$project")"
site=$(cd "$site" && pwd)
"$cli" import "$project" "$source/Seaside Weekend" "$source/Autumn Garden" "$source/Mountain Trail" \
  --publish-dir "$site" --viewer html --force
"$cli" generate "$project" > "$site.transcript.txt"

echo
echo "The demo site is ready. Its access URL:"
echo "  $site/PhotoAlbum.htm"
echo "Open it in a browser, for instance:"
echo "  xdg-open '$site/PhotoAlbum.htm'    or    chromium 'file://$site/PhotoAlbum.htm'"
