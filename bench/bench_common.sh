# Shared by the benchmark scripts (sourced, not run): timing of commands that take turns
# in rounds, ratios, and the floors the scripts compare Quorvale with. The sourcing
# script sets WORK (a scratch folder) first.

# machine: one line naming the cores, the processor and the memory.
machine() {
  echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(awk '/MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo)"
}

# sample NAME PREPARE COMMAND...: runs PREPARE (untimed, through eval) and then COMMAND
# once, keeping the best wall-clock seconds in TIME_<NAME>, the best processor seconds
# (user + system) in CPU_<NAME> and the largest peak memory (KB) in RSS_<NAME>. The
# commands being compared take turns within each round, so a slow spell of a shared
# machine hits them alike; the best of the rounds counts. A command that fails (for
# quorvale-cli: a run with errors or warnings) would spoil the comparison and stops the
# script.
sample() {
  local name=$1 prepare=$2; shift 2
  local seconds user system rss cpu best_wall best_cpu peak
  eval "$prepare"
  sync
  /usr/bin/time -f "%e %U %S %M" -o "$WORK/time.$name" "$@" >"$WORK/out.$name" 2>"$WORK/err.$name" || {
    echo "$name failed:" >&2; tail -n 5 "$WORK/out.$name" "$WORK/err.$name" >&2; exit 1
  }
  read -r seconds user system rss <"$WORK/time.$name"
  cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
  best_wall=TIME_$name best_cpu=CPU_$name peak=RSS_$name
  printf -v "$best_wall" '%s' "$(awk -v a="$seconds" -v b="${!best_wall:-$seconds}" 'BEGIN { print (a < b ? a : b) }')"
  printf -v "$best_cpu" '%s' "$(awk -v a="$cpu" -v b="${!best_cpu:-$cpu}" 'BEGIN { print (a < b ? a : b) }')"
  ((rss > ${!peak:-0})) && printf -v "$peak" '%s' "$rss"
  return 0
}

# report NAME: one line with the best times and the peak memory of a sampled command.
report() {
  local wall=TIME_$1 cpu=CPU_$1 peak=RSS_$1
  printf '  %-22s wall %7.2f s   cpu %7.2f s   peak %8d KB\n' "$1" "${!wall}" "${!cpu}" "${!peak}"
}

# ratio A B: A / B with two decimals (B below 0.01 s counts as 0.01 s).
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0.01) b = 0.01; printf "%5.2f", a / b }'; }

# ratio_line LABEL NAME FLOOR [TARGET]: the wall and processor ratios of NAME to FLOOR.
ratio_line() {
  local wall=TIME_$2 cpu=CPU_$2 floor_wall=TIME_$3 floor_cpu=CPU_$3
  printf '  %-44s %s  %s   %s\n' "$1" "$(ratio "${!wall}" "${!floor_wall}")" "$(ratio "${!cpu}" "${!floor_cpu}")" "${4:-}"
}

# written_bytes COMMAND...: runs COMMAND (its output dropped) and prints the bytes it
# caused to be written to storage (write_bytes of /proc/<pid>/io: a shell's counters
# take in those of the children it waited for).
written_bytes() {
  sh -c 'before=$(awk "/^write_bytes/ { print \$2 }" /proc/$$/io); "$@" >/dev/null 2>&1;
         awk -v b="$before" "/^write_bytes/ { print \$2 - b }" /proc/$$/io' sh "$@"
}

# vipsthumbnail_halves LIST OUT THUMBNAIL_SIZE DISPLAY_SIZE: writes a script at
# $WORK/vipsthumbnail_half.sh and sets VIPSTHUMBNAIL to the command that makes both
# sizes of the pictures listed in LIST (one path a line, JPEG quality 85 and 82, no
# metadata) with two vipsthumbnail processes over its halves, so both cores work.
vipsthumbnail_halves() {
  local list=$1 out=$2 count half
  count=$(wc -l <"$list"); half=$(((count + 1) / 2))
  head -n "$half" "$list" >"$WORK/half0"
  tail -n +"$((half + 1))" "$list" >"$WORK/half1"
  cat >"$WORK/vipsthumbnail_half.sh" <<SCRIPT
#!/bin/sh
# HALF_LIST OUT: the display copies, then the thumbnails, of the pictures listed.
mkdir -p "\$2/display" "\$2/thumbnails"
xargs -d '\n' vipsthumbnail -s '$4' -o "\$2/display/%s.jpg[Q=85,strip]" <"\$1"
xargs -d '\n' vipsthumbnail -s '$3' -o "\$2/thumbnails/%s.jpg[Q=82,strip]" <"\$1"
SCRIPT
  chmod +x "$WORK/vipsthumbnail_half.sh"
  VIPSTHUMBNAIL=(sh -c "'$WORK/vipsthumbnail_half.sh' '$WORK/half0' '$out/0' & '$WORK/vipsthumbnail_half.sh' '$WORK/half1' '$out/1' & wait")
}
