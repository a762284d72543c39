# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Bash completion for photoapp.
# Works with or without the bash-completion package; with it, file names are completed its way.

_photoapp_files() {
    if declare -F _filedir >/dev/null; then
        _filedir "$@"
    else
        compopt -o filenames 2>/dev/null
        local kind=-f
        [[ ${1:-} == -d ]] && kind=-d
        mapfile -t COMPREPLY < <(compgen "$kind" -- "${COMP_WORDS[COMP_CWORD]}")
    fi
}

_photoapp() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} cword=$COMP_CWORD
    local command=${COMP_WORDS[1]} options=''
    COMPREPLY=()
    if ((cword == 1)); then
        mapfile -t COMPREPLY < <(compgen -W 'create import serve open dump demo keyword-image select
            keyword album photo edit fault --version --help' -- "$cur")
        return
    fi

    # keyword, album and photo take a verb before the library.
    local library_at=2
    case $command in
    keyword | album | photo)
        if ((cword == 2)); then
            local verb
            case $command in
            keyword) verb=add ;;
            album) verb=create ;;
            photo) verb=add-record ;;
            esac
            mapfile -t COMPREPLY < <(compgen -W "$verb" -- "$cur")
            return
        fi
        library_at=3
        ;;
    keyword-image)
        ((cword == 2)) && _photoapp_files
        return
        ;;
    esac
    if ((cword == library_at)); then
        _photoapp_files -d
        return
    fi

    case $prev in
    --image | --original)
        _photoapp_files
        return
        ;;
    --type)
        mapfile -t COMPREPLY < <(compgen -W 'albm smrt' -- "$cur")
        return
        ;;
    --null | --absent)
        mapfile -t COMPREPLY < <(compgen -W 'imageFilename imagePath originalPath date id height width' -- "$cur")
        return
        ;;
    --album | --version | --photos | --missing-images | --missing-masters | --zombies | --photo | \
        --date | --width | --height | --import-delay | --version-error)
        return
        ;;
    esac

    case $command in
    import)
        if [[ $cur == -* ]]; then
            options='--album'
        else
            _photoapp_files
            return
        fi
        ;;
    serve) options='--version --window' ;;
    open) options='--version' ;;
    demo) options='--photos --missing-images --missing-masters --zombies' ;;
    select) options='--photos --album' ;;
    album) options='--type' ;;
    photo) options='--image --original --date --width --height --album' ;;
    fault) options='--photo --null --absent --fail-properties --refuse-changes --version-error --import-delay --clear' ;;
    esac
    [[ -n $options ]] && mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
}

complete -F _photoapp photoapp
