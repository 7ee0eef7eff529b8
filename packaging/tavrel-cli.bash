# Bash completion of tavrel-cli: its commands, each command's options, file names where
# an argument names a file or folder, and the words an option takes. Plain bash: it
# needs nothing from the bash-completion package.

_tavrel_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command= word
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        case "$word" in
            show|check|write|batch|table|help) command=$word; break ;;
        esac
    done

    COMPREPLY=()
    case "$prev" in
        --base|--json-in|--out)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        --guard)
            COMPREPLY=($(compgen -W 'off on' -- "$cur"))
            return ;;
        --codepage|--ip|--mask|--gateway|--other-dns|--preferred-dns|--push|--rings|--key)
            return ;;
    esac

    local common='--codepage --help --version'
    if [[ $cur == -* ]]; then
        case "$command" in
            show) COMPREPLY=($(compgen -W "--json $common" -- "$cur")) ;;
            check) COMPREPLY=($(compgen -W "--strict $common" -- "$cur")) ;;
            batch) COMPREPLY=($(compgen -W "--out --base --dry-run $common" -- "$cur")) ;;
            table) COMPREPLY=($(compgen -W "--csv $common" -- "$cur")) ;;
            write) COMPREPLY=($(compgen -W "--base --json-in --auto --fixed --ip --mask
                --gateway --other-dns --preferred-dns --push --guard --rings --key
                $common" -- "$cur")) ;;
            *) COMPREPLY=($(compgen -W "$common" -- "$cur")) ;;
        esac
    elif [ -z "$command" ]; then
        COMPREPLY=($(compgen -W 'show check write batch table help' -- "$cur"))
    elif [ "$command" = help ]; then
        COMPREPLY=($(compgen -W 'show check write batch table' -- "$cur"))
    else
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}
complete -F _tavrel_cli tavrel-cli
