#!/usr/bin/env bash
# Installs the package with apt-get, uses what it installed as a user and an administrator would,
# and removes it again. Runs as root (it installs into /usr), which is also the case where an
# installed client could write beside /usr/bin and must not.
set -euo pipefail
deb=$(realpath "${1:?usage: tests/package/run.sh PACKAGE.deb}")
[ "$(id -u)" -eq 0 ] || { echo "tests/package/run.sh: needs root, it installs the package" >&2; exit 2; }
if dpkg-query -W -f='${db:Status-Status}' marbello 2>/dev/null | grep -qv not-installed; then
    echo "tests/package/run.sh: marbello is installed already; not touching it" >&2
    exit 2
fi

work=$(mktemp -d /tmp/marbello-package-test.XXXXXX)
chmod 755 "$work"
service_pid=""
client_pid=""

apt_get() {
    DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=300 "$@" >"$work/apt.log" 2>&1 ||
        { cat "$work/apt.log" >&2; return 1; }
}
cleanup() {
    for pid in $client_pid $service_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    # Nothing of the package may outlive the test, whatever failed.
    if dpkg-query -W -f='${db:Status-Status}' marbello 2>/dev/null | grep -qv not-installed; then
        apt_get purge marbello || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
step() { echo "-- $*"; }
# Waits up to ten seconds for a line in a file that a background process writes.
wait_for_line() {
    for _ in $(seq 100); do
        grep -q "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "no \"$2\" in $1: $(cat "$1")"
}

step "apt-get install $deb"
apt_get install --no-install-recommends "$deb"
dpkg-query -L marbello | sort >"$work/files"
dpkg-query -W -f='${Conffiles}\n' marbello | awk 'NF { print $1 }' >"$work/conffiles"

step "both programs answer --version"
[ "$(/usr/bin/marbello --version)" = "marbello 0.994" ] || fail "marbello --version: $(/usr/bin/marbello --version)"
[ "$(/usr/bin/marbello-service --version)" = "marbello-service 0.994" ] ||
    fail "marbello-service --version: $(/usr/bin/marbello-service --version)"

step "a manual page for each program, with every option of its --help"
for program in marbello marbello-service; do
    man -w "$program" >/dev/null || fail "man -w $program finds nothing"
    page=$(LC_ALL=C MANWIDTH=200 man -P cat "$program" 2>/dev/null)
    for section in SYNOPSIS OPTIONS FILES "EXIT STATUS"; do
        grep -q "^$section" <<<"$page" || fail "the page of $program has no $section"
    done
    for option in $("/usr/bin/$program" --help | grep -oE -- '--[a-z][a-z-]+' | sort -u); do
        grep -qe "$option" <<<"$page" || fail "the page of $program leaves out $option"
    done
done

step "launcher, AppStream entry, icons and shipped files"
desktop-file-validate /usr/share/applications/marbello.desktop
appstreamcli validate --no-net /usr/share/metainfo/example.marbello.client.metainfo.xml
for size in 16 24 32 48 128 256; do
    icon=/usr/share/icons/hicolor/${size}x$size/apps/marbello.png
    file "$icon" | grep -q "PNG image data, $size x $size" || fail "$icon: $(file "$icon")"
done
for shipped in online.ico offline.ico RegisterAgree.txt xml/webAreas.xml xml/webServerType.xml; do
    [ -s "/usr/share/marbello/$shipped" ] || fail "/usr/share/marbello/$shipped is missing"
done

step "the service's unit: verified, installed but not enabled"
unit=/lib/systemd/system/marbello-service.service
verify=$(systemd-analyze verify "$unit" 2>&1) || fail "systemd-analyze verify: $verify"
[ -z "$verify" ] || fail "systemd-analyze verify: $verify"
[ -z "$(find /etc/systemd -name marbello-service.service)" ] || fail "the unit is enabled"

step "the service runs from the unit's command line, unprivileged, in its state directory"
# The unit's ExecStart with its defaults and /etc/default/marbello-service; %S (/var/lib under
# systemd) is a private directory here, and the port is the one the system picks.
state="$work/state"
mkdir -p "$state/marbello-service"
chown nobody:nogroup "$state/marbello-service"
exec_start=$(sed -n 's/^ExecStart=//p' "$unit")
defaults=$(sed -n 's/^Environment=//p' "$unit")
read -ra service_command <<<"$(
    set -a
    eval "$defaults"
    . /etc/default/marbello-service
    MARBELLO_LISTEN=127.0.0.1:0
    eval "printf '%s ' ${exec_start//%S/$state}"
)"
as_service() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
database="$state/marbello-service/marbello-service.db"
(cd / && exec setpriv --reuid=nobody --regid=nogroup --clear-groups "${service_command[@]}") \
    >"$work/service.out" 2>&1 &
service_pid=$!
wait_for_line "$work/service.out" "listening on"
port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\),.*/\1/p' "$work/service.out")
[ -s "$database" ] || fail "no database at $database"
as_service /usr/bin/marbello-service add-user demo demo123 --db "$database" >/dev/null

step "the client, run as root, logs in headless and writes only under XDG_DATA_HOME/marbello"
home="$work/home"
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
touch "$work/before-client"
(
    cd "$home"
    export HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
        XDG_RUNTIME_DIR="$home/runtime"
    unset MARBELLO_SERVICE http_proxy HTTP_PROXY
    exec /usr/bin/marbello --headless --service "127.0.0.1:$port" --logid demo --password demo123
) >"$work/client.out" 2>&1 &
client_pid=$!
wait_for_line "$work/client.out" "登录成功"
grep -qx "state: online" "$work/client.out" || fail "client: $(cat "$work/client.out")"
kill -TERM "$client_pid"
status=0
wait "$client_pid" || status=$?
client_pid=""
[ "$status" -eq 0 ] || fail "the client ended with status $status: $(cat "$work/client.out")"
for written in config.xml log/log.txt; do
    [ -s "$home/data/marbello/$written" ] || fail "no $written under XDG_DATA_HOME/marbello"
done
for beside in /usr/bin /usr/share/marbello; do
    for name in config.xml log xml/messages.xml; do
        [ ! -e "$beside/$name" ] || fail "the client wrote $beside/$name"
    done
done
[ -z "$(find /usr/share/marbello -newer "$work/before-client")" ] || fail "the client changed /usr/share/marbello"
# Besides its data: the start-at-logon entry (on by default) and the lock of the single instance.
stray=$(find "$home" -type f -newer "$work/before-client" |
    grep -vE "^$home/(data/marbello|runtime)/|^$home/config/autostart/marbello\.desktop$" || true)
[ -z "$stray" ] || fail "the client wrote outside its directories: $stray"

kill -TERM "$service_pid"
wait "$service_pid" || fail "the service did not end cleanly: $(cat "$work/service.out")"
service_pid=""

step "apt-get remove leaves only the configuration; purge leaves nothing; the user's files stay"
apt_get remove marbello
while read -r path; do
    [ -d "$path" ] && continue
    grep -qxF "$path" "$work/conffiles" && continue
    [ ! -e "$path" ] || fail "apt-get remove left $path"
done <"$work/files"
[ ! -e /usr/share/marbello ] || fail "apt-get remove left /usr/share/marbello"
apt_get purge marbello
while read -r path; do
    [ ! -e "$path" ] || fail "apt-get purge left $path"
done <"$work/conffiles"
[ -z "$(find /etc/systemd /var/lib/systemd -name 'marbello*' 2>/dev/null)" ] ||
    fail "systemd state of the unit outlived the package"
[ -s "$home/data/marbello/config.xml" ] || fail "removing the package took the user's files"

echo "package test passed"
