# Sourced by the scripts: installs the Debian packages named that are not
# installed yet (a quick no-op when all are there).
#   install_packages WHO PACKAGE...   WHO prefixes the line that says so
install_packages() {
  local who="$1"; shift
  local missing=() p sudo=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "$who: installing ${missing[*]}"
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}
