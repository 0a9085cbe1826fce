#!/bin/sh
# Drives "penvox-cli count" as a user would: counts text files in the encodings
# a document may come in and checks the printed figures and the exit codes.
#   count.sh PATH/TO/penvox-cli
set -u
cli=${1:?usage: count.sh PATH/TO/penvox-cli}
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT INT TERM
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# expect_output DESCRIPTION EXPECTED_FILE -- COMMAND...: runs the command and
# checks that it exits with 0, prints exactly the expected text and nothing on
# standard error.
expect_output() {
    what=$1 expected=$2
    shift 3
    "$@" >"$work/out" 2>"$work/err"
    got=$?
    [ "$got" -eq 0 ] || fail "$what: exit code $got: $(cat "$work/err")"
    cmp -s "$work/out" "$expected" || fail "$what: printed
$(cat "$work/out")
expected
$(cat "$expected")"
    [ -s "$work/err" ] && fail "$what: standard error: $(cat "$work/err")"
}

# The example of the statistics window: 你好，world! and a CR LF break.
printf '你好，world!\r\n' >"$work/example.txt"
cat >"$work/example.expected" <<'END'
字数统计
汉字数量：3
英文数量：5
符号数量：2
数字数量：0
段落数：1
当前字数：  6
END
expect_output "the example (UTF-8)" "$work/example.expected" -- "$cli" count "$work/example.txt"

# The same text as GBK, as UTF-16 with its mark, and with a Unix line break
# (which the editor shows as a paragraph break like any other) counts alike.
iconv -f UTF-8 -t GB18030 "$work/example.txt" >"$work/example.gbk" || fail "iconv could not convert to GBK"
expect_output "the example (GBK)" "$work/example.expected" -- "$cli" count "$work/example.gbk"
iconv -f UTF-8 -t UTF-16 "$work/example.txt" >"$work/example16.txt" || fail "iconv could not convert to UTF-16"
expect_output "the example (UTF-16)" "$work/example.expected" -- "$cli" count "$work/example16.txt"
printf '你好，world!\n' >"$work/example-lf.txt"
expect_output "the example (LF break)" "$work/example.expected" -- "$cli" count "$work/example-lf.txt"
printf '你好，world!\r' >"$work/example-cr.txt"
expect_output "the example (lone CR break)" "$work/example.expected" -- "$cli" count "$work/example-cr.txt"

# Two files: each under its name, then the sum of both.
printf '春眠不觉晓，abc 12\r\n' >"$work/poem.txt"
cat >"$work/two.expected" <<END
$work/example.txt
字数统计
汉字数量：3
英文数量：5
符号数量：2
数字数量：0
段落数：1
当前字数：  6

$work/poem.txt
字数统计
汉字数量：6
英文数量：3
符号数量：2
数字数量：2
段落数：1
当前字数：  8

合计
字数统计
汉字数量：9
英文数量：8
符号数量：4
数字数量：2
段落数：2
当前字数：  14
END
expect_output "two files" "$work/two.expected" -- "$cli" count "$work/example.txt" "$work/poem.txt"

# An empty file has nothing, not even a paragraph.
: >"$work/empty.txt"
"$cli" count "$work/empty.txt" >"$work/out" 2>&1 || fail "an empty file: exit code $?"
grep -q "^段落数：0$" "$work/out" || fail "an empty file: $(cat "$work/out")"
grep -q "^当前字数：  0$" "$work/out" || fail "an empty file: $(cat "$work/out")"

# A file that cannot be read is reported, the others are still counted and
# summed, and the exit code tells of the failure.
"$cli" count "$work/example.txt" "$work/missing.txt" "$work/poem.txt" >"$work/out" 2>"$work/err"
got=$?
[ "$got" -eq 1 ] || fail "a missing file: exit code $got, expected 1"
grep -q "cannot read \"$work/missing.txt\": No such file or directory" "$work/err" ||
    fail "a missing file: standard error: $(cat "$work/err")"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "a missing file: expected one line on standard error: $(cat "$work/err")"
cmp -s "$work/out" "$work/two.expected" || fail "a missing file: the other files were not counted as before:
$(cat "$work/out")"

if [ -w /dev/full ]; then
    "$cli" count "$work/example.txt" >/dev/full 2>"$work/err"
    got=$?
    [ "$got" -eq 1 ] || fail "a full standard output: exit code $got, expected 1"
    grep -q "cannot write to standard output: No space left on device" "$work/err" ||
        fail "a full standard output: standard error: $(cat "$work/err")"
fi

# Without a file the command line cannot be understood.
"$cli" count >"$work/out" 2>"$work/err"
got=$?
[ "$got" -eq 2 ] || fail "no file: exit code $got, expected 2"
grep -q "count: missing the input file" "$work/err" || fail "no file: standard error: $(cat "$work/err")"
"$cli" --help >"$work/out" 2>&1 || fail "--help exited with $?"
grep -q "penvox-cli count FILE" "$work/out" || fail "--help does not show the count command"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all penvox-cli count checks passed"
