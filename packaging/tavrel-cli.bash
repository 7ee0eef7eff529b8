# Bash completion of tavrel-cli: its commands, each command's options, files and
# folders where an argument names one, and the words the option takes.

_tavrel_cli() {
    local cur prev words cword
    _init_completion || return

    local command= word
    for word in "${words[@]:1:cword-1}"; do
        case "$word" in
            show|check|write) command=$word; break ;;
        esac
    done

    case "$prev" in
        --base|--json-in)
            _filedir
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
            check) COMPREPLY=($(compgen -W "$common" -- "$cur")) ;;
            write) COMPREPLY=($(compgen -W "--base --json-in --auto --fixed --ip --mask
                --gateway --other-dns --preferred-dns --push --guard --rings --key
                $common" -- "$cur")) ;;
            *) COMPREPLY=($(compgen -W "$common" -- "$cur")) ;;
        esac
        return
    fi
    case "$command" in
        '') COMPREPLY=($(compgen -W 'show check write' -- "$cur")) ;;
        *) _filedir ;;
    esac
}
complete -F _tavrel_cli tavrel-cli
