#!/usr/bin/env bash
# Makes the manual page of one program from its --help with help2man, in English whatever
# the builder's own q517 options say: the program runs with a data folder of its own whose
# options file names the English script.
# usage: tools/manpage.sh PROGRAM OUT.1.gz "what it is"
set -euo pipefail
program=$1 out=$2 name=$3
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/q517"
printf '"q517_EN.SCR",1,"9600"\r\n' >"$home/q517/q517_opt.def"
HOME=$home XDG_DATA_HOME=$home XDG_CONFIG_HOME=$home XDG_RUNTIME_DIR=$home LC_ALL=C.UTF-8 \
    QT_QPA_PLATFORM=offscreen help2man --no-info --section=1 --name="$name" \
    --output="$home/page.1" "$program"
gzip -9n <"$home/page.1" >"$out"
