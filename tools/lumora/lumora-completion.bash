# Bash completion for lumora. The Debian package installs it; from a
# checkout, source it from ~/.bashrc:
#   source /path/to/tools/lumora/lumora-completion.bash
_lumora() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  local scan="--interface --port --wait --timeout --repeat --codepage --allow-host-network --help"
  case "$prev" in
    --interface)
      COMPREPLY=($(compgen -W "$(ls /sys/class/net 2>/dev/null)" -- "$cur")); return ;;
    --format) COMPREPLY=($(compgen -W "table json csv" -- "$cur")); return ;;
    --mode) COMPREPLY=($(compgen -W "static dhcp pppoe" -- "$cur")); return ;;
    --order) COMPREPLY=($(compgen -W "mac answer" -- "$cur")); return ;;
    --codepage) COMPREPLY=($(compgen -W "$(iconv --list 2>/dev/null | tr -d , )" -- "$cur")); return ;;
    --port|--wait|--timeout|--repeat|--name|--ip|--mask|--gateway|--http-port|--audio-port|\
    --pppoe-account|--pppoe-password|--new-mac|--ip-range|--pace|--verify-timeout|--rounds) return ;;
  esac
  if [ "$COMP_CWORD" = 1 ]; then
    COMPREPLY=($(compgen -W "scan set open plan apply --help --version" -- "$cur"))
    return
  fi
  case "${COMP_WORDS[1]}" in
    scan) COMPREPLY=($(compgen -W "$scan --format --show-secrets --stream --bom" -- "$cur")) ;;
    set) COMPREPLY=($(compgen -W "$scan --name --ip --mask --gateway --http-port --audio-port --mode
                                  --pppoe-account --pppoe-password --pppoe-password-stdin --new-mac --no-verify" -- "$cur")) ;;
    open) COMPREPLY=($(compgen -W "$scan --print" -- "$cur")) ;;
    plan) COMPREPLY=($(compgen -W "$scan --ip-range --mask --gateway --mode --name --order --bom" -- "$cur")) ;;
    apply)
      case "$cur" in
        -*) COMPREPLY=($(compgen -W "$scan --dry-run --pace --verify-timeout --rounds --format --bom
                                     --show-secrets" -- "$cur")) ;;
        *) COMPREPLY=($(compgen -f -- "$cur")) ;;
      esac ;;
  esac
}
complete -F _lumora lumora lumora.exe
