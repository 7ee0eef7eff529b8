# Bash completion of tavrel-cli: its commands, each command's options, file names where
# an argument names a file or folder, and the words an option takes. Plain bash: it
# needs nothing from the bash-completion package.

_tavrel_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command='' word
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        case "$word" in
            show|check|write|batch|table|help) command=$word; break ;;
        esac
    done

    # One reply per line of compgen's output, so that file names may hold blanks.
    COMPREPLY=()
    case "$prev" in
        --base|--json-in|--out)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return ;;
        --guard)
            mapfile -t COMPREPLY < <(compgen -W 'off on' -- "$cur")
            return ;;
        --codepage|--ip|--mask|--gateway|--other-dns|--preferred-dns|--push|--rings|--key)
            return ;;
    esac

    local common='--codepage --help --version' words
    if [[ $cur == -* ]]; then
        case "$command" in
            show) words="--json $common" ;;
            check) words="--strict $common" ;;
            batch) words="--out --base --dry-run $common" ;;
            table) words="--csv $common" ;;
            write) words="--base --json-in --auto --fixed --ip --mask --gateway --other-dns
                --preferred-dns --push --guard --rings --key $common" ;;
            *) words=$common ;;
        esac
        mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
    elif [ -z "$command" ] || [ "$command" = help ]; then
        mapfile -t COMPREPLY < <(compgen -W 'show check write batch table help' -- "$cur")
    else
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
}
complete -F _tavrel_cli tavrel-cli
