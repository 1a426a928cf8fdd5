# Sourced by the scripts that need Debian packages (setup, fuzz, bench).

# Installs those of the Debian packages $2... that are missing, saying so under the name $1;
# quiet when every one is there. Fails when apt-get does.
korvel_install_packages() {
    local who=$1 package
    shift
    local missing=()
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    ((${#missing[@]})) || return 0
    echo "$who: installing ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}
