# bash completion for vantrelctl                                     -*- shell-script -*-

_vantrelctl()
{
    local cur prev words cword
    _init_completion || return

    [[ $prev == --timeout || $prev == --limit ]] && return # a number
    if [[ $prev == --kind ]]; then
        COMPREPLY=($(compgen -W 'text image url file marked' -- "$cur"))
        return
    fi

    local i command="" argument=0
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --timeout | --limit | --kind) ((i++)) ;;
            -*) ;;
            *)
                if [[ -z $command ]]; then
                    command=${words[i]}
                else
                    ((argument++))
                fi
                ;;
        esac
    done

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--json --timeout --limit --kind --help' -- "$cur"))
    elif [[ -z $command ]]; then
        COMPREPLY=($(compgen -W 'status recent marked search list copy watch' -- "$cur"))
    elif [[ $command == copy && $argument -eq 0 ]]; then
        # The uuids of the recent items, asked of the running Vantrel; a short wait, so that
        # Tab does not hang when none runs.
        local uuids
        uuids=$("$1" --timeout 1000 recent 2>/dev/null | cut -f1)
        COMPREPLY=($(compgen -W "$uuids" -- "$cur"))
    fi
} &&
    complete -F _vantrelctl vantrelctl

# ex: filetype=sh
