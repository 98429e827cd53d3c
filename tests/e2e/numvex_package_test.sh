#!/usr/bin/env bash
# The Debian package as a new user gets it: built with CPack from this build, unpacked into a
# private root, its files and metadata validated, the installed programs started, and a tape
# opened through the desktop's file association (xdg-open) under Xvfb.
BUILD=$(realpath "$1")
source "$(dirname "$0")/lib.sh"
need_tools cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli xdg-open xdotool \
  update-mime-database update-desktop-database
on_xvfb "$0" "$@"
make_work numvex-package
cleanup() { pkill -f "^$WORK/root/usr/bin/numvex" 2>/dev/null; }

(cd "$WORK" && cpack -G DEB -B "$WORK/pkg" --config "$BUILD/CPackConfig.cmake" >cpack.log 2>&1) ||
  { cat "$WORK/cpack.log"; exit 1; }
deb=$(ls "$WORK"/pkg/numvex_*.deb)
dpkg-deb -x "$deb" "$WORK/root"
usr=$WORK/root/usr
files=$(cd "$WORK/root" && find . -type f | sort | tr '\n' ' ')
icons=$(for s in 128 16 24 256 32 48 64; do printf './usr/share/icons/hicolor/%sx%s/apps/numvex.png ' $s $s; done)
wanted="./usr/bin/numvex ./usr/bin/numvex-tape ./usr/share/applications/numvex.desktop \
./usr/share/doc/numvex/CHANGELOG.md ./usr/share/doc/numvex/README.md ./usr/share/doc/numvex/sample.nvx \
${icons}./usr/share/icons/hicolor/scalable/apps/numvex.svg ./usr/share/man/man1/numvex-tape.1.gz \
./usr/share/man/man1/numvex.1.gz ./usr/share/metainfo/org.numvex.Numvex.metainfo.xml \
./usr/share/mime/packages/numvex.xml ./usr/share/numvex/0Numvex.txt ./usr/share/numvex/1Numvex.txt "
expect "the package holds exactly the installed files" '[[ $files == "$wanted" ]]' "$files"
depends=$(dpkg-deb -f "$deb" Depends)
expect "it depends on Qt 6, QScintilla and the platform plugins" \
  '[[ $depends == *libqt6widgets6* && $depends == *libqscintilla2-qt6* && $depends == *qt6-qpa-plugins* ]]' "$depends"
check "desktop entry valid" desktop-file-validate "$usr/share/applications/numvex.desktop"
check "metainfo valid" appstreamcli validate --no-net "$usr/share/metainfo/org.numvex.Numvex.metainfo.xml"
check "manual pages read" bash -c "zcat '$usr/share/man/man1/numvex.1.gz' | grep -q '^numvex \\\\- tape calculator'"

version=$("$usr/bin/numvex-tape" --version)
expect "installed numvex-tape --version" '[[ $version == "numvex-tape 3."* ]]' "$version"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/numvex" --help)
expect "numvex --help without a display" '[[ $help == *"/TB"* && $help == *DOCUMENT* ]]' "$help"
bad=$("$usr/bin/numvex" --bogus 2>&1); rc=$?
expect "an unknown option is refused" '[[ $rc == 2 && $bad == *"unknown option '\''--bogus'\''"* ]]' "$rc $bad"

# A first start finds the introduction in the installed data folder.
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/.config XDG_DATA_HOME=$WORK/home/.local/share \
  XDG_RUNTIME_DIR=$WORK NUMVEX_REGISTRY=$WORK/hkcu.reg QT_QPA_PLATFORM=xcb LANG=C.UTF-8
mkdir -p "$XDG_DATA_HOME"
"$usr/bin/numvex" &>"$WORK/first.log" &
expect "first start shows the installed introduction" \
  'timeout 10 xdotool search --sync --onlyvisible --name "^ZEL: Numvex \[$usr/share/numvex/[01]Numvex.txt\]" >/dev/null'
kill %% 2>/dev/null; wait 2>/dev/null

# The desktop opens a tape with the installed entry: type by the MIME database, program by
# the desktop entry's Exec line.
export XDG_DATA_DIRS=$usr/share PATH=$usr/bin:$PATH
rm -f "$XDG_DATA_HOME/applications/numvex.desktop"  # the first start registered its own entry
update-mime-database "$usr/share/mime" && update-desktop-database "$usr/share/applications"
printf '12\n+30\n---\n' >"$WORK/bills.nvx"
type=$(xdg-mime query filetype "$WORK/bills.nvx")
expect ".nvx is a Numvex tape" '[[ $type == application/x-numvex-tape ]]' "$type"
xdg-open "$WORK/bills.nvx" &>"$WORK/open.log" &
expect "xdg-open starts Numvex with the tape" \
  'timeout 10 xdotool search --sync --onlyvisible --name "\[$WORK/bills.nvx\]" >/dev/null'
summary
