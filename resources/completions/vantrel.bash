# bash completion for vantrel                                        -*- shell-script -*-

_vantrel()
{
    local cur prev words cword
    _init_completion || return

    # At most one option, and nothing after it.
    ((cword == 1)) || return
    COMPREPLY=($(compgen -W '--show-main --show-mini --preferences --toggle-recording --quit
        --help --version' -- "$cur"))
} &&
    complete -F _vantrel vantrel

# ex: filetype=sh
