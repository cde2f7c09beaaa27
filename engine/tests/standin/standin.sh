# Shared part of the stand-in conversion tools used by the conversion-run tests.
#
# Every call is logged to $STANDIN_DIR/calls as: <tool> cwd=<dir> out=<CHRONEX_OUTPUT_DIR> [arg]...
# Per-program behaviour is chosen through environment variables, <base> being the program's
# base name:
#   STANDIN_RC_<tool>_<base>=n      exit with n (default 0)
#   STANDIN_HANG_<tool>_<base>=1    start a sleeping helper, create
#                                   $STANDIN_DIR/running.<tool>.<base> and sleep
#   STANDIN_SIGNAL_<tool>_<base>=1  end by SIGKILL

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

finish() {
    code=$(setting RC "$1")
    exit "${code:-0}"
}
