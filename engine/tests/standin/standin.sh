# Shared part of the stand-in conversion tools used by the conversion-run tests.
#
# Every call is logged to $STANDIN_DIR/calls as: <tool> cwd=<dir> out=<CHRONEX_OUTPUT_DIR> [arg]...
# Per-program behaviour is chosen through environment variables, <base> being the program's
# base name:
#   STANDIN_RC_<tool>_<base>=n      exit with n (default 0)
#   STANDIN_HANG_<tool>_<base>=1    start a sleeping helper, create
#                                   $STANDIN_DIR/running.<tool>.<base> and sleep
#   STANDIN_SIGNAL_<tool>_<base>=1  end by SIGKILL
#   STANDIN_SAY_<tool>_<base>=text  print text on standard output and "warning: " text on
#                                   standard error
#   STANDIN_NOOUTPUT_<tool>_<base>=1  write none of the tool's result files
#   STANDIN_BIG_<tool>_<base>=n     make the tool's main result n bytes long (the .xca of
#                                   kelmkpu, the report of vyquext), above any file-size limit
#                                   the caller has set
#   STANDIN_PARTIAL_<tool>_<base>=1 leave half-written files before misbehaving, as a tool
#                                   killed while writing: the temporary file of its result
#                                   (.<result>.Ab12Cd or <result>.Ab12Cd) and, for vyquext, the
#                                   report

tool=$(basename "$0")

logCall() {
    {
        printf '%s cwd=%s out=%s' "$tool" "$PWD" "${CHRONEX_OUTPUT_DIR:-}"
        for argument in "$@"; do printf ' [%s]' "$argument"; done
        printf '\n'
    } >> "$STANDIN_DIR/calls"
}

setting() {
    eval "printf '%s' \"\${STANDIN_$1_${tool}_$2:-}\""
}

misbehave() {
    said=$(setting SAY "$1")
    if [ -n "$said" ]; then
        printf '%s\n' "$said"
        printf 'warning: %s\n' "$said" >&2
    fi
    if [ -n "$(setting HANG "$1")" ]; then
        # A helper of the tool's own runs too; its id is kept in helper.<tool>.<base>.
        sleep 100 &
        echo $! > "$STANDIN_DIR/helper.$tool.$1"
        : > "$STANDIN_DIR/running.$tool.$1"
        exec sleep 100
    fi
    if [ -n "$(setting SIGNAL "$1")" ]; then
        kill -KILL $$
    fi
}

# Leaves the files named half written when STANDIN_PARTIAL_<tool>_<base> is set.
partial() {
    base=$1
    shift
    [ -n "$(setting PARTIAL "$base")" ] || return 0
    for path in "$@"; do printf 'half' > "$path"; done
}

finish() {
    code=$(setting RC "$1")
    exit "${code:-0}"
}

# Writes the tool's main result `$2` for program `$1`: `$3` as text, or n bytes when
# STANDIN_BIG_<tool>_<base> says so. Nothing when STANDIN_NOOUTPUT_<tool>_<base> is set.
result() {
    [ -z "$(setting NOOUTPUT "$1")" ] || return 0
    big=$(setting BIG "$1")
    if [ -n "$big" ]; then
        ulimit -f unlimited
        head -c "$big" /dev/zero | tr '\0' 'x' > "$2"
    else
        printf '%s\n' "$3" > "$2"
    fi
}

# Writes a further result file unless STANDIN_NOOUTPUT_<tool>_<base> is set.
alsoWrite() {
    [ -z "$(setting NOOUTPUT "$1")" ] || return 0
    printf '%s\n' "$3" > "$2"
}
