# bash completion for the korval program. The commands and each command's
# options are read from the program's own usage (korval --help, korval
# COMMAND --help), so that they are always those of the installed program.
_korval() {
  local cur prev cmd
  cur=${COMP_WORDS[COMP_CWORD]}
  prev=${COMP_WORDS[COMP_CWORD - 1]}
  cmd=${COMP_WORDS[1]}
  local program=${COMP_WORDS[0]}

  if [ "$COMP_CWORD" -eq 1 ]; then
    local commands
    commands=$("$program" --help 2>/dev/null | sed -n 's/^  \([a-z][a-z]*\).*/\1/p')
    mapfile -t COMPREPLY < <(compgen -W "$commands --help --version" -- "$cur")
    return
  fi
  if [ "$cmd" = help ]; then
    [ "$COMP_CWORD" -eq 2 ] || return
    mapfile -t COMPREPLY < <(compgen -W "$("$program" --help 2>/dev/null |
      sed -n 's/^  \([a-z][a-z]*\).*/\1/p')" -- "$cur")
    return
  fi

  case $prev in
    --forms) mapfile -t COMPREPLY < <(compgen -d -- "$cur"); return ;;
    --goods | --pdf | --png | --screenshot) mapfile -t COMPREPLY < <(compgen -f -- "$cur"); return ;;
    --encoding) mapfile -t COMPREPLY < <(compgen -W "utf-8 cp1250" -- "$cur"); return ;;
    --page) mapfile -t COMPREPLY < <(compgen -W "design preview sheet" -- "$cur"); return ;;
    --paper) mapfile -t COMPREPLY < <(compgen -W "A4 Letter" -- "$cur"); return ;;
    --format | --printer | --sheet | --start | --test | --dpi | --offset | --find) return ;;
  esac
  local options
  options=$("$program" "$cmd" --help 2>/dev/null | grep -o -- '--[a-z][a-z-]*' | sort -u)
  mapfile -t COMPREPLY < <(compgen -W "$options --help" -- "$cur")
}
complete -o default -F _korval korval
