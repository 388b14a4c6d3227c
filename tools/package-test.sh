#!/usr/bin/env bash
# Builds the Debian package (tools/package.sh) and checks it as a distribution would: lintian
# without an error or a warning, the desktop entry, the AppStream metadata, the cam file type,
# the manual pages and the shell completion.
# usage: tools/package-test.sh     (a release build: several minutes on a cold cache)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/package.sh" >/dev/null
deb=$(ls -t "$root"/build-release/q517_*.deb | head -n 1)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
failed=0
fail() { echo "package-test: $*" >&2; failed=1; }

echo "== lintian $(basename "$deb")"
lintian --fail-on error,warning --suppress-tags-from-file /dev/null "$deb" || fail "lintian found errors or warnings"

echo "== desktop entry, metadata"
desktop-file-validate "$tree/usr/share/applications/q517.desktop" || fail "desktop entry"
grep -qx 'Exec=q517 %f' "$tree/usr/share/applications/q517.desktop" || fail "the desktop entry takes no file"
appstreamcli validate --no-net "$tree/usr/share/metainfo/org.q517.q517.metainfo.xml" || fail "AppStream metadata"

echo "== files the package must hold"
for file in usr/bin/q517 usr/bin/q517-cli usr/bin/q517-sim \
    usr/share/man/man1/q517.1.gz usr/share/man/man1/q517-cli.1.gz usr/share/man/man1/q517-sim.1.gz \
    usr/share/bash-completion/completions/q517-cli usr/share/mime/packages/q517.xml \
    usr/share/icons/hicolor/scalable/mimetypes/application-x-q517-cam.svg \
    usr/share/doc/q517/copyright usr/share/doc/q517/changelog.gz; do
    [ -s "$tree/$file" ] || fail "missing $file"
done

echo "== manual pages in English, with exit status, files and examples"
for page in q517 q517-cli; do
    text=$(zcat "$tree/usr/share/man/man1/$page.1.gz")
    for section in '^\.SH SYNOPSIS' '^\.SH "EXIT STATUS"\|^\.SS "Exit status:"' '^\.SH FILES' '^\.SH EXAMPLES'; do
        grep -q "$section" <<<"$text" || fail "$page(1) has no $section"
    done
done
zcat "$tree/usr/share/man/man1/q517-sim.1.gz" | grep -q '^\.SH SYNOPSIS' || fail "q517-sim(1) has no synopsis"

echo "== the cam file type"
mkdir -p "$tree/mime/packages"
cp "$tree/usr/share/mime/packages/q517.xml" "$tree/mime/packages/"
update-mime-database "$tree/mime" 2>/dev/null
grep -q 'application/x-q517-cam:\*\.cam' "$tree/mime/globs2" || fail "no *.cam in the type's globs"
grep -aq 'FUNZIONI' "$tree/mime/magic" || fail "no FUNZIONI in the type's content check"

echo "== completion"
bash -c "source '$tree/usr/share/bash-completion/completions/q517-cli' && complete -p q517-cli" ||
    fail "the completion does not load"

[ "$failed" -eq 0 ] && echo "package-test: $(basename "$deb") passed"
exit "$failed"
