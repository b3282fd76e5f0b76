# bash completion for vaultwing. mapfile keeps a file name with spaces one word.
_vaultwing() {
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    case "$prev" in
        --password-file)
            compopt -o filenames
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
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
            mapfile -t COMPREPLY < <(compgen -W "${names[*]}" -- "$cur")
            return ;;
        --associate|--send-to)
            mapfile -t COMPREPLY < <(compgen -W "on off" -- "$cur")
            return ;;
    esac
    if [[ "$cur" == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "--password-file --delete --keep --lang -q --associate --send-to --help --version" -- "$cur")
        return
    fi
    compopt -o filenames
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
}
complete -F _vaultwing vaultwing
