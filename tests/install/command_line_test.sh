#!/usr/bin/env bash
# The programs' command lines as the platform's conventions want them: --help on standard
# output with exit status 0, --version giving the project's version, and a bad argument one
# line on standard error with exit status 2. Needs no display: DISPLAY is unset.
#
# Usage: command_line_test.sh VELMORA VELMORA_RENDER VERSION
set -uo pipefail
readonly velmora=$1 render=$2 version=${3//./\\.}
unset DISPLAY

failures=0
# program, arguments, exit status, the stream that must hold the output (the other one stays
# empty), its number of lines (0: any), a pattern its first line must match.
while IFS='|' read -r program arguments status stream lines pattern; do
    out=$(mktemp) err=$(mktemp)
    # shellcheck disable=SC2086 # the arguments are split on purpose
    ${!program} $arguments >"$out" 2>"$err"
    actual=$?
    [ "$stream" = out ] && { shown=$out other=$err; } || { shown=$err other=$out; }
    problem=
    [ "$actual" = "$status" ] || problem=" exit status $actual, not $status;"
    [ -s "$other" ] && problem+=" output on the wrong stream: $(head -n 1 "$other");"
    [ "$lines" = 0 ] || [ "$(wc -l <"$shown")" = "$lines" ] || problem+=" not $lines line(s);"
    head -n 1 "$shown" | grep -Eq "$pattern" || problem+=" first line '$(head -n 1 "$shown")'"
    if [ -n "$problem" ]; then
        echo "FAILED: $program $arguments:$problem"
        failures=$((failures + 1))
    fi
    rm -f "$out" "$err"
done <<TABLE
velmora|--help|0|out|0|^Usage: velmora \[--lab\] \[--zoom N\] \[--help\] \[--version\]$
velmora|--lab --help|0|out|0|^Usage: velmora
velmora|--version|0|out|1|^velmora $version$
velmora|--help --version|0|out|0|^Usage: velmora
velmora|--bogus|2|err|1|^velmora: unknown argument '--bogus' \(usage: velmora
velmora|--help -x|2|err|1|^velmora: unknown argument '-x'
velmora|start|2|err|1|^velmora: unknown argument 'start'
velmora|--zoom 9|2|err|1|^velmora: --zoom: expected a whole number from 1 to 8, got '9' \(usage
velmora|--lab --zoom 2.0|2|err|1|^velmora: --zoom: expected a whole number from 1 to 8, got '2\.0'
velmora|--zoom 0 --help|2|err|1|^velmora: --zoom: expected a whole number from 1 to 8, got '0'
velmora|--zoom|2|err|1|^velmora: --zoom: missing its value \(usage: velmora
render|--help|0|out|0|^Usage: velmora-render .*\[--help\] \[--version\]$
render|--version|0|out|1|^velmora-render $version$
render|--load 100 --version|0|out|1|^velmora-render $version$
render|--bogus|2|err|1|^velmora-render: unknown argument '--bogus' \(usage: velmora-render
render|--lab --lab|2|err|1|^velmora-render: --lab: given more than once$
render|--zoom x2|2|err|1|^velmora-render: --zoom: expected a whole number from 1 to 8, got 'x2'$
render|--size 1000x600 --zoom 2|2|err|1|^velmora-render: --zoom 2: the program would draw in 500x300 pixels
render|--lab --load 75+k50 --png -|2|err|1|^velmora-render: --load: "75\+k50" is not a load\. Type R
render|--lab --load 20000|2|err|1|^velmora-render: --load: "20000" is out of range
TABLE
echo "$failures failed"
[ "$failures" = 0 ]
