#!/usr/bin/env bash
# Builds the Debian package of this build tree into a temporary folder, lists
# and extracts it (never installs it) and checks what a user would get; then
# installs the build into a staged folder (DESTDIR) and runs vexa-cli from
# there, where it must find its translations.
#   packagecheck.sh <cpack> <build dir> <version> <cmake>
set -euo pipefail
cpack="$1"
build="$2"
version="$3"
cmake="${4:-cmake}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
start=$(date +%s)

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log" >&2
  echo "FAIL: cpack" >&2
  exit 1
fi
arch="$(dpkg --print-architecture)"
shopt -s nullglob
debs=("$tmp"/out/*.deb)
if [ ${#debs[@]} -ne 1 ] || ! [[ "$(basename "${debs[0]}")" =~ ^vexa-assistant_${version//./\\.}(~sanitized)?_${arch}\.deb$ ]]; then
  echo "FAIL: expected one vexa-assistant_${version}_${arch}.deb, got: ${debs[*]##*/}" >&2
  exit 1
fi
deb="${debs[0]}"
echo "package: ${deb##*/} ($(du -k "$deb" | cut -f1) KiB, cpack $(($(date +%s) - start)) s)"

# Control fields: run-time libraries found by shlibdeps plus what is loaded
# as a plugin or looked up by name.
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for dep in libc6 libqt5core5a libqt5widgets5 libqt5network5 libqt5serialport5 libqt5sql5 libqt5sql5-sqlite \
  libqwt-qt5-6 fonts-wqy-microhei; do
  [[ ", $depends," == *", $dep"[\ ,]* ]] || fail "Depends lacks $dep"
done
[ "$(dpkg-deb -f "$deb" Package)" = vexa-assistant ] || fail "Package field"
[ "$(dpkg-deb -f "$deb" Recommends)" = qttranslations5-l10n ] || fail "Recommends field"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$arch" ] || fail "Architecture field"

programs=(vexa-assistant vexa-pack vexa-meter-sim)
[ -x "$build/bin/vexa-cli" ] && programs+=(vexa-cli)
expected=(
  usr/share/applications/vexa-assistant.desktop
  usr/share/metainfo/org.vexa.assistant.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/vexa-assistant.svg
  usr/share/vexa-assistant/translations/en_US.qm
  usr/share/vexa-assistant/translations/zh_TW.qm
  usr/libexec/vexa-assistant/vexa-history-render
  usr/share/doc/vexa-assistant/changelog.gz
  usr/share/doc/vexa-assistant/copyright
  usr/share/doc/vexa-assistant/README.md
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/vexa-assistant.png")
done
for program in "${programs[@]}"; do
  expected+=("usr/bin/$program" "usr/share/man/man1/$program.1.gz")
done

dpkg-deb -c "$deb" | awk '{ print $NF }' | sed 's|^\./||' >"$tmp/listing"
for path in "${expected[@]}"; do
  grep -qxF "$path" "$tmp/listing" || fail "listing lacks $path"
done
grep -v -e '/$' -e '^usr/' "$tmp/listing" | grep . && fail "files outside /usr"
grep -e 'tst_' -e 'bench' -e '\.a$' "$tmp/listing" && fail "test or build files packaged"

root="$tmp/root"
dpkg-deb -x "$deb" "$root"
for path in "${expected[@]}"; do
  [ -s "$root/$path" ] || fail "extracted $path is missing or empty"
done
for program in "${programs[@]}"; do
  [ -x "$root/usr/bin/$program" ] || fail "$program is not executable"
done
for size in 16 22 24 32 48 64 128 256; do
  got="$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/${size}x${size}/apps/vexa-assistant.png" 2>&1)"
  [ "$got" = "${size}x${size}" ] || fail "icon ${size}x${size} is $got"
done
for program in "${programs[@]}"; do
  page="$(zcat "$root/usr/share/man/man1/$program.1.gz")"
  [[ "$page" == *".SH NAME"*"$program"* && "$page" == *".SH DESCRIPTION"* ]] || fail "man page of $program"
  [[ "$page" == *".SH FILES"*".SH EXAMPLES"* ]] || fail "man page of $program lacks FILES or EXAMPLES"
  # help2man makes an OPTIONS section only of an English "Options:".
  [[ "$page" == *".SH OPTIONS"* ]] || fail "man page of $program is not in English"
done
zcat "$root/usr/share/man/man1/vexa-cli.1.gz" | grep -q 'journal.csv' || fail "vexa-cli man page lacks journal.csv"
changelog="$(zcat "$root/usr/share/doc/vexa-assistant/changelog.gz")"
[[ "${changelog%%$'\n'*}" == "vexa-assistant ($version"[\)~]* ]] || fail "changelog does not start with this version"

# The package as Debian's checker sees it: no error and no warning.
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "$deb" >"$tmp/lintian.log" 2>&1 ||
    { cat "$tmp/lintian.log" >&2; fail "lintian"; }
else
  fail "lintian is missing (scripts/deps)"
fi
zcat "$root/usr/share/man/man1/vexa-assistant.1.gz" | grep -q -- 'user\\-dir' || fail "man page lacks --user-dir"

# The programs run from where the package puts them, with the system's Qt.
cd "$tmp"
out="$("$root/usr/bin/vexa-assistant" --version)" || fail "vexa-assistant --version failed"
[ "$out" = "vexa-assistant $version" ] || fail "vexa-assistant --version said: $out"
out="$("$root/usr/bin/vexa-pack" --help)" || fail "vexa-pack --help failed"
[[ "$out" == Usage:*--inspect* ]] || fail "vexa-pack --help said: $out"
status=0
err="$("$root/usr/bin/vexa-assistant" --no-such-option 2>&1 >/dev/null)" || status=$?
[ $status -eq 2 ] && [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || fail "bad option: status $status, said: $err"

desktop="$root/usr/share/applications/vexa-assistant.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=vexa-assistant --user-dir' "$desktop" || fail "launcher does not use --user-dir"
for key in 'Name' 'Name\[zh_CN\]' 'Name\[zh_TW\]' 'Comment' 'Comment\[zh_CN\]' 'Comment\[zh_TW\]' 'Icon=vexa-assistant'; do
  grep -q "^$key" "$desktop" || fail "desktop entry lacks $key"
done
appstreamcli validate --no-net "$root/usr/share/metainfo/org.vexa.assistant.metainfo.xml" >"$tmp/as.log" 2>&1 ||
  { cat "$tmp/as.log" >&2; fail "appstreamcli validate"; }
grep -q '<launchable type="desktop-id">vexa-assistant.desktop</launchable>' \
  "$root/usr/share/metainfo/org.vexa.assistant.metainfo.xml" || fail "metainfo does not launch the desktop entry"

# Installed with the package's layout into a staged folder: vexa-cli, run
# from a folder without translations, speaks the language of LANG.
staged="$tmp/staged"
DESTDIR="$staged" "$cmake" --install "$build" --prefix /usr >"$tmp/install.log" 2>&1 ||
  { cat "$tmp/install.log" >&2; fail "staged install"; }
if [ -x "$staged/usr/bin/vexa-cli" ]; then
  mkdir -p "$tmp/elsewhere"
  cd "$tmp/elsewhere"
  for pair in "C.UTF-8|Commands:" "en_US.UTF-8|Commands:" "zh_CN.UTF-8|命令:" "zh_TW.UTF-8|指令："; do
    lang="${pair%%|*}"
    title="${pair#*|}"
    out="$(env -u LC_ALL -u LC_MESSAGES LANG="$lang" "$staged/usr/bin/vexa-cli" --help 2>&1)" ||
      fail "staged vexa-cli --help with LANG=$lang"
    grep -qx -- "$title" <<<"$out" || fail "staged vexa-cli with LANG=$lang does not list its $title"
  done
  cd "$tmp"
fi

echo "checked ${#expected[@]} files in $(($(date +%s) - start)) s"
[ $failures -eq 0 ]
