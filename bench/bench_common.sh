# Shared by the benchmark scripts (sourced, not run): timing of commands that take turns
# in rounds, ratios, and the floors the scripts compare Quorvale with. The sourcing
# script sets WORK (a scratch folder) first.

# machine: one line naming the cores, the processor and the memory.
machine() {
  echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(awk '/MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo)"
}

# sample NAME PREPARE COMMAND...: runs PREPARE (untimed, through eval) and then COMMAND
# once, keeping the best wall-clock seconds in TIME_<NAME> (to the tenth of a
# millisecond, the start of /usr/bin/time included alike), the best processor seconds
# (user + system) in CPU_<NAME> and the largest peak memory (KB) in RSS_<NAME>. The
# commands being compared take turns within each round, so a slow spell of a shared
# machine hits them alike; the best of the rounds counts. A command that fails (for
# quorvale-cli: a run with errors or warnings) would spoil the comparison and stops the
# script.
sample() {
  local name=$1 prepare=$2; shift 2
  local seconds user system rss cpu best_wall best_cpu peak started ended
  eval "$prepare"
  sync
  started=$EPOCHREALTIME
  /usr/bin/time -f "%U %S %M" -o "$WORK/time.$name" "$@" >"$WORK/out.$name" 2>"$WORK/err.$name" || {
    echo "$name failed:" >&2; tail -n 5 "$WORK/out.$name" "$WORK/err.$name" >&2; exit 1
  }
  ended=$EPOCHREALTIME
  seconds=$(awk -v s="$started" -v e="$ended" 'BEGIN { printf "%.4f", e - s }')
  read -r user system rss <"$WORK/time.$name"
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
  printf '  %-22s wall %8.3f s   cpu %7.2f s   peak %8d KB\n' "$1" "${!wall}" "${!cpu}" "${!peak}"
}

# ratio A B LEAST: A / B with two decimals, B below LEAST seconds counting as LEAST (the
# wall clock is read to the tenth of a millisecond, processor times in hundredths).
ratio() { awk -v a="$1" -v b="$2" -v least="$3" 'BEGIN { if (b <= least) b = least; printf "%5.2f", a / b }'; }

# ratio_line LABEL NAME FLOOR [TARGET]: the wall and processor ratios of NAME to FLOOR.
ratio_line() {
  local wall=TIME_$2 cpu=CPU_$2 floor_wall=TIME_$3 floor_cpu=CPU_$3
  printf '  %-44s %s  %s   %s\n' "$1" "$(ratio "${!wall}" "${!floor_wall}" 0.0001)" "$(ratio "${!cpu}" "${!floor_cpu}" 0.01)" \
    "${4:-}"
}

# written_bytes COMMAND...: runs COMMAND (its output dropped) and prints the bytes it
# caused to be written to storage: write_bytes of /proc/<pid>/io less
# cancelled_write_bytes, what was written to a file removed before it reached the disk
# (a run's scratch file); a shell's counters take in those of the children it waited for.
written_bytes() {
  sh -c 'counted() { awk "/^write_bytes/ { w = \$2 } /^cancelled_write_bytes/ { c = \$2 } END { print w - c }" /proc/$$/io; }
         before=$(counted); "$@" >/dev/null 2>&1; echo $(($(counted) - before))' sh "$@"
}

# halves LIST: the first and second half of the lines of LIST, in $WORK/half0 and half1.
halves() {
  local count half
  count=$(wc -l <"$1"); half=$(((count + 1) / 2))
  head -n "$half" "$1" >"$WORK/half0"
  tail -n +"$((half + 1))" "$1" >"$WORK/half1"
}

# vipsthumbnail_passes ARRAY LIST OUT PASS...: writes a script at $WORK/ARRAY.sh and sets
# the array named ARRAY to the command that runs it as two processes over the halves of
# the pictures listed in LIST (one path a line), so both cores work. Each PASS is one
# vipsthumbnail over the pictures, "FOLDER|OPTIONS|OUTPUT": its images go to
# OUT/<half>/FOLDER/<name>.OUTPUT, OUTPUT naming the format and its options.
vipsthumbnail_passes() {
  local name=$1 list=$2 out=$3 pass folder options output; shift 3
  halves "$list"
  {
    echo '#!/bin/sh'
    echo '# HALF_LIST OUT: each pass over the pictures listed.'
    for pass in "$@"; do
      IFS='|' read -r folder options output <<<"$pass"
      echo "mkdir -p \"\$2/$folder\""
      echo "xargs -d '\\n' vipsthumbnail $options -o \"\$2/$folder/%s.$output\" <\"\$1\""
    done
  } >"$WORK/$name.sh"
  chmod +x "$WORK/$name.sh"
  local -n command=$name
  command=(sh -c "'$WORK/$name.sh' '$WORK/half0' '$out/0' & '$WORK/$name.sh' '$WORK/half1' '$out/1' & wait")
}

# vipsthumbnail_halves LIST OUT THUMBNAIL_SIZE DISPLAY_SIZE: sets VIPSTHUMBNAIL to the
# command that makes both sizes of the pictures listed in LIST (JPEG quality 85 and 82,
# no metadata) with two vipsthumbnail processes over its halves.
vipsthumbnail_halves() {
  vipsthumbnail_passes VIPSTHUMBNAIL "$1" "$2" "display|-s '$4'|jpg[Q=85,strip]" "thumbnails|-s '$3'|jpg[Q=82,strip]"
}
