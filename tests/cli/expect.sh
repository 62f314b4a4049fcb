# The shared frame of the command line's shell tests, sourced by them: a work folder
# removed on exit, `expect NAME EXPECTED ACTUAL` counting what held and what did not,
# `fail WHAT` counting what did not, and `finish`, which reports the counts and fails
# the test when anything did not hold.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passed=0

expect() {  # expect NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    passed=$((passed + 1))
  else
    echo "FAIL: $1: expected [$2], got [$3]"
    failures=$((failures + 1))
  fi
}

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

finish() {
  echo "$passed passed, $failures failed"
  [ "$failures" -eq 0 ]
}
