#!/bin/sh
# Checks the sample application with the real GnuCOBOL compiler:
#  1. every program passes `cobc -fsyntax-only -std=ibm` with the copybooks;
#     a program with EXEC CICS or EXEC SQL blocks passes the compile pass
#     instead (`zmc2`, which translates the blocks for cobc) with return code 0;
#  2. every program without file needs or EXEC blocks compiles with `cobc -x`
#     and runs to return code 0; PAYRUN runs without its input file and must
#     stop with 12;
#  3. every seed in Seedfile/sample.xsd names the bytes of the field it is
#     meant for, measured by cobc on the copybook laid out under an 01.
# Usage: samples/check.sh [zmc2]   (from anywhere; needs cobc on PATH; zmc2 is
#        found on PATH when not given)
set -u

here=$(cd "$(dirname "$0")" && pwd)
copybooks="$here/copybooks"
seedfile="$here/Seedfile/sample.xsd"
work=$(mktemp -d "${TMPDIR:-/tmp}/chronex-samples.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT INT TERM
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

command -v cobc >/dev/null 2>&1 || { echo "FAIL: cobc not found on PATH"; exit 1; }
zmc2=${1:-zmc2}

# 1 and 2: the programs.  The list is read line by line so the directory
# whose name holds a blank stays one argument.
find "$here" -name '*.cbl' | sort > "$work/programs"
count=0
while IFS= read -r source; do
    count=$((count + 1))
    name=$(basename "$source" .cbl)
    if grep -q 'EXEC  *\(CICS\|SQL\)' "$source"; then
        # Online and DB2 programs: the compile pass translates their EXEC blocks; they do not
        # run outside CICS or DB2.
        if ! (cd "$work" && "$zmc2" -i"$copybooks" "$source") > "$work/$name.syntax" 2>&1; then
            fail "$source does not pass the compile pass ($zmc2):"; cat "$work/$name.syntax"
        fi
        continue
    fi
    if ! cobc -fsyntax-only -std=ibm -I "$copybooks" "$source" > "$work/$name.syntax" 2>&1; then
        fail "$source does not pass cobc -fsyntax-only:"; cat "$work/$name.syntax"
        continue
    fi
    if ! cobc -x -std=ibm -I "$copybooks" -o "$work/$name" "$source" > "$work/$name.build" 2>&1; then
        fail "$source does not compile with cobc -x:"; cat "$work/$name.build"
        continue
    fi
    case $name in
    PAYRUN) expected=12 ;;   # reads EMPFILE, which the check does not provide
    *) expected=0 ;;
    esac
    (cd "$work" && EMPFILE="$work/no-such-file" "./$name") > "$work/$name.out" 2>&1
    rc=$?
    if [ "$rc" -ne "$expected" ]; then
        fail "$name ended with return code $rc, expected $expected:"; cat "$work/$name.out"
    elif ! grep -q "^$name " "$work/$name.out"; then
        fail "$name printed no line of its own:"; cat "$work/$name.out"
    fi
done < "$work/programs"
[ "$count" -ge 10 ] || fail "found $count programs under $here, expected at least 10"

# 3: the seeds.  copybook, qualifier, COPY text, field, seed line.
while read -r copybook qualifier copytext field line; do
    copytext=$(echo "$copytext" | tr '+' ' ')
    line=$(echo "$line" | tr '+' ' ')
    awk -v head="<SEED> <INCLUDE> $copybook $qualifier" -v want="$line" '
        $0 == head { inside = 1; next }
        $0 == "</SEED>" { inside = 0 }
        inside && $0 == want { found = 1 }
        END { exit !found }' "$seedfile" ||
        fail "$seedfile has no line \"$line\" in the block of $copybook $qualifier"
    index=$(echo "$line" | awk '{ print $3 }')
    length=$(echo "$line" | awk '{ print $5 }')
    prog="$work/layout-$copybook.cbl"
    {
        echo "       IDENTIFICATION DIVISION."
        echo "       PROGRAM-ID. LAYOUT."
        echo "       DATA DIVISION."
        echo "       WORKING-STORAGE SECTION."
        echo "       01  P0 USAGE POINTER."
        echo "       01  N0 REDEFINES P0 PIC S9(18) COMP-5."
        echo "       01  P1 USAGE POINTER."
        echo "       01  N1 REDEFINES P1 PIC S9(18) COMP-5."
        echo "       01  D PIC 9(9)."
        echo "       01  L PIC 9(9)."
        echo "       01  LAYOUT-REC."
        echo "           COPY $copytext."
        echo "       PROCEDURE DIVISION."
        echo "           SET P0 TO ADDRESS OF LAYOUT-REC"
        echo "           SET P1 TO ADDRESS OF $field"
        echo "           COMPUTE D = N1 - N0 + 1"
        echo "           MOVE FUNCTION BYTE-LENGTH($field) TO L"
        echo "           DISPLAY D ' ' L"
        echo "           STOP RUN."
    } > "$prog"
    # A copybook with its own 01 starts a new record: lay it out from there.
    if grep -q '^       01 ' "$copybooks/$(echo "$copytext" | awk '{ print ($3 ? $3 "/" : "") $1 }').cpy"; then
        sed -i -e '/^       01  LAYOUT-REC\.$/d' -e "s/ADDRESS OF LAYOUT-REC/ADDRESS OF $field/" "$prog"
    fi
    if ! cobc -x -std=ibm -I "$copybooks" -o "$work/layout" "$prog" > "$work/layout.build" 2>&1; then
        fail "layout program for $copybook does not compile:"; cat "$work/layout.build"
        continue
    fi
    measured=$("$work/layout" | awk '{ print $1 + 0, $2 + 0 }')
    [ "$measured" = "$index $length" ] ||
        fail "$copybook $field lies at $measured (index length), seed says $index $length"
done <<'SEEDS'
EMPREC DEFAULT EMPREC EMP-BIRTH-YY ++<always-year>+<index>+27+<length>+2
EMPREC DEFAULT EMPREC EMP-GRADE ++<always-non-year>+<index>+43+<length>+2
POLREC DEFAULT POLREC POL-TERM ++<always-non-year>+<index>+24+<length>+2
LOANREC DEFAULT LOANREC LN-MATURITY-CCYY ++<always-year>+<index>+34+<length>+4
TAXTBL LIB=PAYLIB TAXTBL+OF+PAYLIB TAX-YEAR ++<always-year>+<index>+1+<length>+2
SEEDS

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all $count programs and the seed file check out"
