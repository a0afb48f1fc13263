#!/usr/bin/env bash
# Installs the build into a fresh prefix and uses it from there as a user
# would: both programs start, quorvel-cli builds a copy of the demo group with
# the installed default template and speaks German from the installed
# catalogs, the bash completion offers commands, options and group files, and
# the desktop files pass their validators (where those are installed).
#
#   installed-prefix.sh BUILD_DIR EXAMPLES_DIR FAKERC VERSION
set -euo pipefail
build="$1" examples="$2" fakerc="$3" version="$4"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "installed-prefix: FAILED: $*" >&2; exit 1; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }
for f in bin/quorvel bin/quorvel-cli share/quorvel/VersInfo.trc \
         share/locale/de/LC_MESSAGES/default.mo share/locale/de/LC_MESSAGES/dialogs.mo \
         share/applications/org.quorvel.Quorvel.desktop share/metainfo/org.quorvel.Quorvel.metainfo.xml \
         share/icons/hicolor/scalable/apps/org.quorvel.Quorvel.svg share/mime/packages/org.quorvel.Quorvel.xml \
         share/man/man1/quorvel-cli.1.gz share/man/man1/quorvel.1.gz share/bash-completion/completions/quorvel-cli \
         share/doc/quorvel/copyright share/doc/quorvel/changelog.gz; do
  [[ -f "$prefix/$f" ]] || fail "$f was not installed"
done
[[ ! -e "$prefix/bin/VersInfo.trc" ]] || fail "the template lies beside the programs, not in share/quorvel"
# The installation works wherever it is put.
mv "$prefix" "$work/moved" && prefix="$work/moved"
cli="$prefix/bin/quorvel-cli"

[[ "$("$cli" --version)" == "quorvel-cli $version" ]] || fail "quorvel-cli --version: $("$cli" --version)"
# The window program answers --version and --help in a terminal without a display.
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
"${headless[@]}" "$prefix/bin/quorvel" --version | grep -qx "quorvel $version" || fail "quorvel --version"
"${headless[@]}" "$prefix/bin/quorvel" --help | grep -q 'GROUP' || fail "quorvel --help names no GROUP"
LANGUAGE=de "$cli" --help | grep -q 'Befehle:' || fail "quorvel-cli finds no German catalog in the installation"
zgrep -q '^\.TH QUORVEL-CLI "1"' "$prefix/share/man/man1/quorvel-cli.1.gz" || fail "man page of quorvel-cli"
zgrep -q '^\.SS verify' "$prefix/share/man/man1/quorvel-cli.1.gz" || fail "the man page lacks the commands' options"
zgrep -q '^\.TH QUORVEL "1"' "$prefix/share/man/man1/quorvel.1.gz" || fail "man page of quorvel"

# No configuration: the template is the installed one.
cp -r "$examples/demo" "$work/demo"
: >"$work/none.ini"
FAKERC_VERSION_RES=1 "$cli" --config "$work/none.ini" build "$work/demo/Demo.groupproj" --compiler "$fakerc" \
  >"$work/build.log" || { cat "$work/build.log"; fail "quorvel-cli build"; }
"$cli" --config "$work/none.ini" verify "$work/demo/Demo.groupproj" || fail "quorvel-cli verify"
grep -q 'FILEVERSION 1,2,0' "$work/demo/Resources/DemoApp-32.rc" || fail "the script does not carry the demo's version"
[[ -f "$work/demo/Resources/Tools/DemoTool-32.rc" ]] || fail "no script for Tools\\DemoTool"

# Completion, with the installed program found on the PATH.
complete_words() {
  PATH="$prefix/bin:$PATH" bash -c '
    source "$1"; shift
    cd "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _quorvel_cli
    printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' _ \
    "$prefix/share/bash-completion/completions/quorvel-cli" "$work/demo" "$@"
}
[[ "$(complete_words quorvel-cli b)" == "build bump " ]] || fail "completing commands: $(complete_words quorvel-cli b)"
[[ "$(complete_words quorvel-cli build --comp)" == "--compiler --compiler-options " ]] ||
  fail "completing options: $(complete_words quorvel-cli build --comp)"
[[ -z "$(complete_words quorvel-cli build Demo.groupproj -j '' | tr -d ' ')" ]] ||
  fail "completing the value of -j: $(complete_words quorvel-cli build Demo.groupproj -j '')"
[[ "$(complete_words quorvel-cli build Demo.groupproj --compiler sh | tr ' ' '\n' | sort | uniq -d)" == "" ]] ||
  fail "a compiler offered twice: $(complete_words quorvel-cli build Demo.groupproj --compiler sh)"
[[ "$(complete_words quorvel-cli --config x.ini list '')" == "Demo.groupproj Resources Tools " ]] ||
  fail "completing group files: $(complete_words quorvel-cli --config x.ini list '')"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/org.quorvel.Quorvel.desktop" || fail "desktop entry"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.quorvel.Quorvel.metainfo.xml" || fail "AppStream metadata"
fi
echo "installed-prefix: passed"
