# bash completion for drovanel-res: its commands, their options, and RES or
# JSON file names where each command takes them.

_drovanel_res()
{
    local cur prev words cword
    _init_completion || return

    # The command and the number of file names given after it so far.
    local command= files=0 i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
        -o | --output | --prefer | --name) ((i++)) ;;
        -*) ;;
        *)
            if [[ -z $command ]]; then
                command=${words[i]}
            else
                ((files++))
            fi
            ;;
        esac
    done

    case $prev in
    --prefer)
        COMPREPLY=($(compgen -W 'first last ours theirs' -- "$cur"))
        return
        ;;
    -o | --output | --name)
        _filedir res
        return
        ;;
    esac

    if [[ $cur == -* ]]; then
        local options='--help --version'
        [[ $command == merge ]] && options+=' -o --output --prefer --name'
        [[ $command == find ]] && options+=' -i --ignore-case'
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    case $command in
    '') COMPREPLY=($(compgen -W 'check export import diff merge find textconv' -- "$cur")) ;;
    import) ((files == 0)) && _filedir json || _filedir res ;;
    export) ((files == 0)) && _filedir res || _filedir json ;;
    check | diff | merge | textconv) _filedir res ;;
    find) ((files > 0)) && _filedir res ;;
    esac
} && complete -F _drovanel_res drovanel-res
