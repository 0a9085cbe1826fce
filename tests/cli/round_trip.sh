#!/bin/sh
# Drives penvox-cli as a user would: encrypts files, decrypts them again and
# checks the bytes, the messages and the exit codes.
#   round_trip.sh PATH/TO/penvox-cli
set -u
cli=${1:?usage: round_trip.sh PATH/TO/penvox-cli}
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT INT TERM
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# hex FILE: the bytes of FILE as space-separated lower-case hex.
hex() {
    od -An -tx1 -v "$1" | tr -s ' \n' '  ' | sed 's/^ //; s/ $//'
}

# expect_exit CODE STDERR_PATTERN DESCRIPTION -- COMMAND...: runs the command,
# checks its exit code and that standard error is one line matching the pattern.
expect_exit() {
    want=$1 pattern=$2 what=$3
    shift 4
    "$@" >"$work/out" 2>"$work/err"
    got=$?
    [ "$got" -eq "$want" ] || fail "$what: exit code $got, expected $want"
    grep -q -- "$pattern" "$work/err" || fail "$what: standard error lacks \"$pattern\": $(cat "$work/err")"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$what: expected one line on standard error, got: $(cat "$work/err")"
}

# A UTF-8 document with Chinese text, CR LF breaks and a character beyond GBK.
printf '第一章 春眠不觉晓\r\n处处闻啼鸟。\r\n夜来风雨声，花落知多少 😀\r\n' >"$work/poem.txt"
iconv -f UTF-8 -t GB18030 "$work/poem.txt" >"$work/poem.gbk" || fail "iconv could not convert the sample"

"$cli" encrypt "$work/poem.txt" --password '密码abc' -o "$work/poem.pxt" || fail "encrypt exited with $?"
cmp -s "$work/poem.pxt" "$work/poem.gbk" && fail "the encrypted file holds the plain text"
"$cli" decrypt "$work/poem.pxt" --password '密码abc' >"$work/poem.out" 2>"$work/err" || fail "decrypt exited with $?"
cmp "$work/poem.out" "$work/poem.gbk" || fail "decrypting gave other bytes than the GBK text"
[ -s "$work/err" ] && fail "a good password drew a message: $(cat "$work/err")"

# The same document as UTF-16 with its mark opens to the same text.
iconv -f UTF-8 -t UTF-16 "$work/poem.txt" >"$work/poem16.txt"
"$cli" encrypt "$work/poem16.txt" --password='密码abc' -o "$work/poem16.pxt" || fail "encrypt of UTF-16 exited with $?"
cmp "$work/poem16.pxt" "$work/poem.pxt" || fail "a UTF-16 file encrypted to other bytes than its UTF-8 twin"

# A wrong password still writes what it gives, with a warning.
"$cli" decrypt "$work/poem.pxt" --password 'wrong' >"$work/wrong.out" 2>"$work/err" || fail "decrypt with a wrong password exited with $?"
cmp -s "$work/wrong.out" "$work/poem.gbk" && fail "a wrong password gave the text"
grep -q "password is probably wrong" "$work/err" || fail "a wrong password drew no warning"

# The reference vector: "1234" with no password.
printf '1234' >"$work/ref.txt"
"$cli" encrypt "$work/ref.txt" -o "$work/ref.pxt" || fail "encrypt of the reference text exited with $?"
[ "$(hex "$work/ref.pxt")" = "69 9d e0 5a" ] || fail "reference vector: got $(hex "$work/ref.pxt")"
[ "$("$cli" decrypt "$work/ref.pxt")" = "1234" ] || fail "the reference vector does not decrypt to 1234"

# Failures name the file and the reason and exit with 1; nothing is written.
expect_exit 1 "cannot read \"$work/missing.pxt\": No such file or directory" "a missing file" \
    -- "$cli" decrypt "$work/missing.pxt"
[ -s "$work/out" ] && fail "a missing file wrote to standard output"
expect_exit 1 "cannot read \"$work\": Is a directory" "a folder" -- "$cli" decrypt "$work"
expect_exit 1 "cannot write \"$work/no/such/out.pxt\": No such file or directory" "a failed write" \
    -- "$cli" encrypt "$work/ref.txt" -o "$work/no/such/out.pxt"
[ -e "$work/no" ] && fail "a failed write left something behind"
[ "$(hex "$work/ref.pxt")" = "69 9d e0 5a" ] || fail "an earlier output changed"
if [ -w /dev/full ]; then
    expect_exit 1 "cannot write the text to standard output: No space left on device" "a full standard output" \
        -- sh -c '"$1" decrypt "$2" >/dev/full' sh "$cli" "$work/ref.pxt"
fi

# Command lines that cannot be understood exit with 2.
expect_exit 2 "missing the output file" "encrypt without -o" -- "$cli" encrypt "$work/ref.txt"
expect_exit 2 "unknown command \"frobnicate\"" "an unknown command" -- "$cli" frobnicate x
expect_exit 2 "missing the input file" "decrypt without a file" -- "$cli" decrypt
expect_exit 2 "unknown option \"--pasword\"" "a misspelt option" -- "$cli" decrypt "$work/ref.pxt" --pasword x
expect_exit 2 "needs a value" "an option without its value" -- "$cli" decrypt "$work/ref.pxt" --password
expect_exit 2 "password is not valid UTF-8" "a password that is not UTF-8" \
    -- "$cli" encrypt "$work/ref.txt" --password "$(printf 'ab\377')" -o "$work/bad.pxt"
[ -e "$work/bad.pxt" ] && fail "a refused password still wrote a file"
"$cli" >/dev/null 2>&1
[ $? -eq 2 ] || fail "no arguments did not exit with 2"
"$cli" --help >"$work/out" 2>&1 || fail "--help exited with $?"
grep -q "penvox-cli encrypt FILE" "$work/out" || fail "--help does not show the usage"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all penvox-cli checks passed"
