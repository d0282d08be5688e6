#!/usr/bin/env bash
# Builds the Debian package with CPack into a temporary directory and checks
# what a user's apt-get would see: its name, version and section, the runtime
# packages it depends on, and the files it installs under /usr; then that
# lintian, Debian's own check, finds no error and no warning in it.
#
# Usage: debian_package_test.sh <cpack> <build dir> <version> <the build's ZU5ZO.mdb>
# Needs: dpkg-dev (dpkg-shlibdeps finds the library packages), lintian.
set -euo pipefail
cpack=$1
build=$2
version=$3
database=$4
work=$(realpath "$(mktemp -d)")
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$work" && "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/out") \
    >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; }

arch=$(dpkg --print-architecture)
deb=$work/out/timber-joist_${version}_$arch.deb
[ -f "$deb" ] || { ls "$work/out" >&2; fail "no package timber-joist_${version}_$arch.deb"; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = timber-joist ] || fail "package name is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version is $(field Version), not $version"
[ "$(field Architecture)" = "$arch" ] || fail "package architecture is $(field Architecture)"
[ "$(field Section)" = science ] || fail "package section is $(field Section)"
field Maintainer | grep -q '<.*@.*>' || fail "the maintainer has no address: $(field Maintainer)"
[ -n "$(field Description)" ] || fail "the package has no description"

# Every package the program needs at run time, whether linked or loaded.
depends=$(field Depends | tr ',|' '\n' | sed 's/(.*)//; s/ //g' | sort -u)
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libsqlite3-0 \
    qt6-qpa-plugins fonts-liberation; do
    grep -qx "$needed" <<<"$depends" || fail "Depends lacks $needed: $(field Depends)"
done
# The reader checks for SQLite 3.37 or later at run time; named once.
field Depends | grep -q 'libsqlite3-0 (>= 3\.37)' || fail "Depends lacks SQLite 3.37: $(field Depends)"
[ "$(field Depends | grep -o libsqlite3-0 | wc -l)" = 1 ] || fail "Depends names SQLite twice: $(field Depends)"
echo "Depends: $(field Depends)"
field Recommends | grep -qw qt6-translations-l10n || fail "Recommends lacks qt6-translations-l10n"

# Files and links only; the directories follow from them.
dpkg-deb -c "$deb" | awk '$1 ~ /^[-l]/ {sub(/^\.\//, "", $6); $1 = $2 = $3 = $4 = $5 = ""; print}' |
    sed 's/^ *//' | sort >"$work/contents"
{
    echo "usr/bin/timber-joist -> ../libexec/timber-joist/timber-joist"
    echo "usr/libexec/timber-joist/EN14080.mdb"
    echo "usr/libexec/timber-joist/EN338-2016.mdb"
    echo "usr/libexec/timber-joist/ZU5ZO.mdb"
    echo "usr/libexec/timber-joist/timber-joist"
    echo "usr/libexec/timber-joist/timber-joist.html"
    echo "usr/share/applications/timber-joist.desktop"
    echo "usr/share/doc/timber-joist/changelog.gz"
    echo "usr/share/doc/timber-joist/copyright"
    echo "usr/share/lintian/overrides/timber-joist"
    echo "usr/share/man/man1/timber-joist.1.gz"
    for n in 16 32 48 64 128 256; do echo "usr/share/icons/hicolor/${n}x$n/apps/timber-joist.png"; done
    echo "usr/share/metainfo/io.github.brannoch.TimberJoist.metainfo.xml"
    echo "usr/share/mime/packages/timber-joist.xml"
} | sort >"$work/expected"
diff "$work/expected" "$work/contents" >&2 ||
    fail "the package's files are not the program's ('<' missing, '>' unexpected)"

dpkg-deb -x "$deb" "$work/root"
cmp -s "$work/root/usr/libexec/timber-joist/ZU5ZO.mdb" "$database" ||
    fail "the packaged ZU5ZO.mdb is not the one the build made"
# Debian's data files are 0644; the program opens the table read-only.
[ "$(stat -c %a "$work/root/usr/libexec/timber-joist/ZU5ZO.mdb")" = 644 ] ||
    fail "the packaged database is not 0644"

# Every tag, as a distribution would check it; tags that do not apply are
# overridden in the package, each with its reason.
lintian --display-info --display-experimental --pedantic --show-overrides --fail-on error,warning \
    "$deb" >"$work/lintian.log" 2>&1 || status=$?
grep -v '^running with root privileges' "$work/lintian.log" || true
[ "${status:-0}" = 0 ] || fail "lintian finds errors or warnings in the package"
echo "package $(basename "$deb") is right"
