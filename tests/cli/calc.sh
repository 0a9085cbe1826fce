#!/bin/sh
# Drives "penvox-cli calc" as a user would: results as the editor receives
# them, one final "=" dropped, failures as an empty line and exit code 1.
#   calc.sh PATH/TO/penvox-cli
set -u
cli=${1:?usage: calc.sh PATH/TO/penvox-cli}
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT INT TERM
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# expect EXPR RESULT: the command succeeds and prints exactly RESULT and a newline.
expect() {
    "$cli" calc "$1" >"$work/out" 2>"$work/err"
    got=$?
    [ "$got" -eq 0 ] || fail "calc \"$1\": exit code $got: $(cat "$work/err")"
    printf '%s\n' "$2" >"$work/want"
    cmp -s "$work/out" "$work/want" || fail "calc \"$1\": printed \"$(cat "$work/out")\", expected \"$2\""
    [ -s "$work/err" ] && fail "calc \"$1\": unexpected message: $(cat "$work/err")"
}

# refuse EXPR: the command prints an empty line, one message, and exits with 1.
refuse() {
    "$cli" calc -- "$1" >"$work/out" 2>"$work/err"
    got=$?
    [ "$got" -eq 1 ] || fail "calc \"$1\": exit code $got, expected 1"
    printf '\n' >"$work/want"
    cmp -s "$work/out" "$work/want" || fail "calc \"$1\": printed \"$(cat "$work/out")\", expected an empty line"
    grep -q "not an arithmetic expression" "$work/err" || fail "calc \"$1\": no message: $(cat "$work/err")"
}

expect '(1234+5678)*90/100=' '6220.8'
expect '(1234+5678)*90/100' '6220.8'
expect '0.1+0.2' '0.30000000000000004'
expect '1/0' 'Infinity'
expect '0/0' 'NaN'
expect '1e21' '1e+21'
# Blanks of a Chinese keyboard: the ideographic space and a line break.
expect "$(printf '2\343\200\200*\r\n3')" '6'

# Only one final "=" goes; an expression may start with "-" as it stands.
refuse '2*3=='
refuse '2**3'
refuse 'alert(1)'
refuse ''
refuse '（1+2）'
expect '-1/0' '-Infinity'
expect '-(2)*3' '-6'
"$cli" calc -- '-1/0' >"$work/out" 2>&1 || fail "calc -- -1/0 exited with $?"
[ "$(cat "$work/out")" = "-Infinity" ] || fail "calc -- -1/0 printed \"$(cat "$work/out")\""

# A command line without the expression cannot be understood.
"$cli" calc >/dev/null 2>&1
[ $? -eq 2 ] || fail "calc without an expression did not exit with 2"
if [ -w /dev/full ]; then
    "$cli" calc '1+1' >/dev/full 2>"$work/err"
    [ $? -eq 1 ] || fail "a full standard output did not exit with 1"
    grep -q "No space left on device" "$work/err" || fail "a full standard output drew no message: $(cat "$work/err")"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all penvox-cli calc checks passed"
