# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Bash completion for vup.
# Works with or without the bash-completion package; with it, file names are completed its way.

_vup_files() {
    if declare -F _filedir >/dev/null; then
        _filedir "$@"
    else
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "${COMP_WORDS[COMP_CWORD]}")
    fi
}

_vup() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} cword=$COMP_CWORD
    COMPREPLY=()
    if ((cword == 1)); then
        mapfile -t COMPREPLY < <(compgen -W 'scan crash-report defaults --screenshot --version --help' -- "$cur")
        return
    fi
    case ${COMP_WORDS[1]} in
    scan)
        if [[ $prev == --report || $prev == --report-raw ]]; then
            # The name's ending says the form: JSON, or a CSV table.
            _vup_files '@(json|csv)'
        else
            mapfile -t COMPREPLY < <(compgen -W '--library --selection --delete --recover-zombies
                --dry-run --report --report-raw --yes --help' -- "$cur")
        fi
        ;;
    crash-report)
        # The values of --comments and --email are free text.
        [[ $prev == --comments || $prev == --email ]] && return
        mapfile -t COMPREPLY < <(compgen -W '--send --ignore --discard --comments --email' -- "$cur")
        ;;
    defaults)
        local verb=${COMP_WORDS[2]}
        if ((cword == 2)); then
            mapfile -t COMPREPLY < <(compgen -W 'read write delete' -- "$cur")
        elif ((cword == 3)); then
            # The keys the program reads, and whatever is stored already.
            local keys='skipInfoScreen ZXNCrashReporterCrashSubmissionURL
                ZXNCrashReporterIncludeAnonymousSystemInformation ZXNCrashReporterIncludeEmailAddress
                ZXNCrashReporterPreferredReportingLocale ZXNCrashReporterLastCrashReportDate'
            keys+=" $("${COMP_WORDS[0]}" defaults read 2>/dev/null | sed -n 's/ = .*//p')"
            mapfile -t COMPREPLY < <(compgen -W "$keys" -- "$cur")
        elif [[ $verb == write ]]; then
            case $prev in
            -bool) mapfile -t COMPREPLY < <(compgen -W 'YES NO' -- "$cur") ;;
            -date) mapfile -t COMPREPLY < <(compgen -W 'now' -- "$cur") ;;
            *) ((cword == 4)) && mapfile -t COMPREPLY < <(compgen -W '-string -bool -int -date' -- "$cur") ;;
            esac
        fi
        ;;
    --screenshot)
        ((cword == 2)) && _vup_files
        ;;
    esac
}

complete -F _vup vup
