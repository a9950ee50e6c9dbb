# Sourced: what every Wine run of this project shares.
#  - quiet and fast: no debug channels, no Mono/Gecko install prompts;
#  - a template prefix booted once (about 12 s) and cloned by hard links for
#    each lab, since Wine keys its wineserver on the prefix directory and a
#    lab needs a wineserver of its own inside its namespace.
# LUMORA_WINEDEBUG lets a test ask for Wine's error messages, so that a
# program that dies at start says why.
export WINEDEBUG=${LUMORA_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINEARCH=win64

lumora_repo_root() { cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd; }

lumora_default_prefix() { echo "${LUMORA_WINE_HOME:-$(lumora_repo_root)/build/wine}/prefix"; }
lumora_template_prefix() { echo "${LUMORA_WINE_HOME:-$(lumora_repo_root)/build/wine}/template"; }

# Boots a prefix once; concurrent callers wait on a lock instead of booting twice.
lumora_ensure_prefix() {
  local prefix=$1
  [ -f "$prefix/.lumora-ready" ] && return 0
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/.lumora-ready" ]; then
      rm -rf "$prefix"
      WINEPREFIX=$prefix wineboot -i >/dev/null 2>&1 || true
      WINEPREFIX=$prefix wineserver -w || true
      [ -f "$prefix/system.reg" ] || { echo "wine: could not boot prefix $prefix" >&2; exit 1; }
      touch "$prefix/.lumora-ready"
    fi
  ) 9>"$prefix.lock"
}

# A fresh prefix cloned from the template: hard links to its files (Wine does
# not write its DLLs after boot), real copies of the registry it rewrites.
lumora_clone_prefix() {
  local target=$1 template
  template=$(lumora_template_prefix)
  lumora_ensure_prefix "$template"
  rm -rf "$target"
  cp -al "$template" "$target"
  rm -f "$target"/*.reg "$target/wineserver" "$target/.lumora-ready"
  cp "$template"/*.reg "$target"/
  # Debian's Wine keeps the name of a private /tmp/wine-XXXXXX directory in
  # the prefix and creates it on first contact; two Wine programs starting at
  # once on a fresh prefix each create one and one of them fails ("chdir to
  # /tmp/wine-.../server-...: No such file or directory"). A server query
  # with no server running settles the name once, before anyone races.
  WINEPREFIX=$target wineserver -k >/dev/null 2>&1 || true
}

# The prefix for Wine runs outside a lab (unit tests): one clone, made once.
lumora_ensure_default_prefix() {
  local prefix
  prefix=$(lumora_default_prefix)
  [ -f "$prefix/.lumora-clone" ] && return 0
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/.lumora-clone" ]; then
      lumora_clone_prefix "$prefix" && touch "$prefix/.lumora-clone"
    fi
  ) 9>"$prefix.lock"
}
