# shellcheck shell=bash
# The shell library of the scripts under tools/ (and tests/packaging/check-packages):
# what each of them would otherwise write again. A script sources it first thing,
#
#   # shellcheck source=tools/lib.sh
#   . "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
#
# and keeps its own `set` options. It defines nothing that runs by itself and changes no
# folder: ROOT is the source tree, TOOL the script's name for messages.
#
#   say TEXT...             a heading on standard error
#   die TEXT...             "TOOL: TEXT" on standard error, exit 1
#   need COMMAND...         die unless each COMMAND is on the PATH
#   need_files FILE...      die unless each FILE exists (a build that is missing)
#   need_display            die unless DISPLAY is set
#   at_exit COMMAND         run COMMAND (a shell text) when the script ends, before the
#                           ones given earlier (what was set up last is undone first)
#   make_work_dir [PARENT]  WORK: a new folder (in PARENT, default the temporary folder),
#                           removed when the script ends
#   install_packages PACKAGE...  apt-get install those of the Debian packages that are
#                           not installed yet
#   start_display           a private Xvfb, DISPLAY set to it, stopped when the script ends
#   build_targets PRESET TARGET...  configure PRESET and build only TARGETs in it

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TOOL=$(realpath --relative-to="$ROOT" "$0" 2>/dev/null || basename "$0")

say() { printf '\033[1m== %s\033[0m\n' "$*" >&2; }
die() {
    printf '%s: %s\n' "$TOOL" "$*" >&2
    exit 1
}

need() {
    local c
    for c in "$@"; do
        command -v "$c" >/dev/null || die "$c is missing (tools/dev installs what the tools need)"
    done
}

need_files() {
    local f
    for f in "$@"; do
        [ -e "$f" ] || die "$f is missing: build its preset first (tools/dev build)"
    done
}

need_display() {
    [ -n "${DISPLAY:-}" ] || die "DISPLAY is not set (tools/dev starts a private display)"
}

# One EXIT trap runs every command given to at_exit, the last given first; a failing one
# does not keep the others from running.
_AT_EXIT=()
_run_at_exit() {
    local i
    for ((i = ${#_AT_EXIT[@]} - 1; i >= 0; i--)); do
        eval "${_AT_EXIT[i]}" || true
    done
}
at_exit() {
    _AT_EXIT+=("$1")
    trap _run_at_exit EXIT
    # Ended by a signal, the script still runs them.
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

# shellcheck disable=SC2120  # PARENT is optional
make_work_dir() {
    WORK=$(mktemp -d "${1:-${TMPDIR:-/tmp}}/tavrel.XXXXXX")
    at_exit "rm -rf $(printf '%q' "$WORK")"
}

install_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    # A package of another architecture (wine32:i386) needs that architecture added.
    for p in "${missing[@]}"; do
        case "$p" in
            *:*)
                dpkg --print-foreign-architectures | grep -qx "${p#*:}" ||
                    "${sudo[@]}" dpkg --add-architecture "${p#*:}"
                ;;
        esac
    done
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends "${missing[@]}" >/dev/null
}

# Xvfb picks a free display number itself (-displayfd) and writes it once it takes
# connections, so two scripts starting displays at once never meet. Scripts that this
# one starts see TAVREL_DISPLAY_STARTED and use the display as it is.
start_display() {
    [ -n "${TAVREL_DISPLAY_STARTED:-}" ] && [ -n "${DISPLAY:-}" ] && return 0
    need Xvfb
    local number_file pid number=
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    pid=$!
    at_exit "kill $pid 2>/dev/null; wait $pid 2>/dev/null"
    for _ in $(seq 1 100); do
        number=$(cat "$number_file")
        [ -n "$number" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$number_file"
    [ -n "$number" ] || die "Xvfb did not start"
    export DISPLAY=":$number" TAVREL_DISPLAY_STARTED=1
}

build_targets() {
    local preset=$1
    shift
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target "$@" >&2
}
