# bash completion for vaultwing
_vaultwing() {
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    case "$prev" in
        --password-file)
            compopt -o filenames
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        --lang)
            # The language names the program can load: the user's own files, then the installed ones.
            local dir names=()
            for dir in "${XDG_DATA_HOME:-$HOME/.local/share}/vaultwing" /usr/share/vaultwing /usr/local/share/vaultwing; do
                local f
                for f in "$dir"/*.lng; do
                    [ -e "$f" ] && names+=("$(basename "$f" .lng)")
                done
            done
            COMPREPLY=($(compgen -W "${names[*]}" -- "$cur"))
            return ;;
        --associate|--send-to)
            COMPREPLY=($(compgen -W "on off" -- "$cur"))
            return ;;
    esac
    if [[ "$cur" == -* ]]; then
        COMPREPLY=($(compgen -W "--password-file --delete --keep --lang -q --associate --send-to --help --version" -- "$cur"))
        return
    fi
    compopt -o filenames
    COMPREPLY=($(compgen -f -- "$cur"))
}
complete -F _vaultwing vaultwing
