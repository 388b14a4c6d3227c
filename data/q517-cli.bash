# bash completion for q517-cli: its commands, each command's options, cam files and HEX
# images where a file is expected, and the serial devices and q517's port links after --device.

_q517_cli_files() {
    # $1: extended pattern of the names offered; folders are offered too, to walk into.
    local IFS=$'\n'
    COMPREPLY+=($(compgen -d -- "$cur"))
    COMPREPLY+=($(compgen -f -X "!$1" -- "$cur"))
}

_q517_cli_devices() {
    local IFS=$'\n' ports="${XDG_DATA_HOME:-$HOME/.local/share}/q517/ports" link
    local -a devices=(/dev/tty*)
    [[ -d $ports ]] && devices+=("$ports"/COM*)
    COMPREPLY+=($(compgen -W "${devices[*]}" -- "$cur"))
    # A link beside the shell, as the simulator's --link makes one, and folders to walk into.
    for link in $(compgen -f -- "$cur"); do
        [[ -L $link || -d $link ]] && COMPREPLY+=("$link")
    done
    [[ ${#COMPREPLY[@]} -gt 0 ]] && COMPREPLY=($(printf '%s\n' "${COMPREPLY[@]}" | sort -u))
}

_q517_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local commands="check check-script convert diff flash hexcheck identify ports print receive send timing verify"
    COMPREPLY=()
    local shopt_was
    shopt_was=$(shopt -p extglob nocaseglob)
    shopt -s extglob

    local command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -* ]] || { command=${COMP_WORDS[i]}; break; }
    done

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$commands --help --version -v" -- "$cur"))
        eval "$shopt_was"
        return
    fi

    case $prev in
    --device)
        _q517_cli_devices
        eval "$shopt_was"
        return
        ;;
    --pdf)
        _q517_cli_files '*.@(pdf|PDF)'
        eval "$shopt_was"
        return
        ;;
    --report)
        _q517_cli_files '*.@(json|JSON)'
        eval "$shopt_was"
        return
        ;;
    --port | --ports | --baud | --format | --rpm | --min-ms)
        [[ $prev == --baud ]] && COMPREPLY=($(compgen -W "1200 2400 4800 9600 19200 38400 57600 115200" -- "$cur"))
        eval "$shopt_was"
        return
        ;;
    esac

    local options="" files=""
    case $command in
    check | convert) files='*.@(CAM|cam|Cam)' ;;
    check-script) files='*.@(SCR|scr)' ;;
    diff) options="--json" files='*.@(CAM|cam|Cam)' ;;
    flash) options="--port --ports --device --baud --yes --report" files='*.@(hex|HEX)' ;;
    hexcheck) files='*.@(hex|HEX)' ;;
    identify) options="--port --device --baud" ;;
    ports) ;;
    print) options="--pdf --format --all --graphic" files='*.@(CAM|cam|Cam)' ;;
    receive) options="--port --device --baud" files='*.@(CAM|cam|Cam)' ;;
    send) options="--port --ports --device --baud --report" files='*.@(CAM|cam|Cam)' ;;
    timing) options="--rpm --format --min-ms --json" files='*.@(CAM|cam|Cam)' ;;
    verify) options="--port --ports --device --baud --json --report" files='*.@(CAM|cam|Cam)' ;;
    *)
        eval "$shopt_was"
        return
        ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
    elif [[ -n $files ]]; then
        _q517_cli_files "$files"
    fi
    eval "$shopt_was"
}
complete -F _q517_cli -o filenames q517-cli
