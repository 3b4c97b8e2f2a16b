#!/usr/bin/env bash
# Checks the include lines of the layers against the layering rules:
#   runtime/     standard C++ only: no Qt header, no header of another layer
#                ("tabulo/<layer>/..." other than runtime, or a path through
#                another layer's folder);
#   components/  no Qt header (the widget layer's objects stand for Qt), and
#                nothing from the layers above it (controls, app);
#   controls/    no Qt header, and nothing from app;
#   widgets/window/ no header of the INI files (the window layer offers a
#                scope around each event; the INI component fills it).
# Qt headers are the <Q...> and <Qt...> forms (also quoted, also with a
# module folder such as <QtWidgets/QLabel>).
#
#   check_layering.sh [source root]   exit 0 when clean, 1 with one line per
#                                     offending include, 2 on a usage error
#   check_layering.sh --self-test     checks the rules against a made-up tree
set -u

self=$0

# Prints the offending include lines of one folder: <file>:<line>: <text>.
# $1 folder, $2 extended regular expression of the forbidden included names
# (matched against what stands between the quotes or angle brackets).
offenders() {
    local folder=$1 forbidden=$2
    [ -d "$folder" ] || return 0
    find -H "$folder" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.hh' -o -name '*.hxx' \
        -o -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.cxx' -o -name '*.inl' \
        -o -name '*.ipp' -o -name '*.tpp' \) -print0 |
        sort -z |
        xargs -0 -r grep -nHE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"](${forbidden})" --
}

qt='Q[A-Za-z0-9_]*([/.>"]|$)|Qt[A-Za-z0-9_]*/'
layers='widgets|components|controls|app|resources|tools'
runtime_forbidden="${qt}|(\.\./)+(${layers})/|(${layers})/tabulo/"
components_forbidden="${qt}|tabulo/(controls|app)/|(\.\./)+(controls|app)/|(controls|app)/tabulo/"
controls_forbidden="${qt}|tabulo/app/|(\.\./)+app/|app/tabulo/"
window_forbidden='tabulo/widgets/(ini|customini)\.h|(\.\./)+files/'
# An include of the runtime's own public headers.
runtime_own='^[^:]+:[0-9]+:[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]tabulo/runtime/[^.">][^">]*[">]'

check() {
    local root=$1 bad=0 out
    out=$(
        offenders "$root/runtime" "$runtime_forbidden"
        offenders "$root/runtime" 'tabulo/' | grep -vE "$runtime_own"
    )
    if [ -n "$out" ]; then
        echo "runtime/ must include only the standard library and its own headers:"
        echo "$out"
        bad=1
    fi
    out=$(offenders "$root/components" "$components_forbidden")
    if [ -n "$out" ]; then
        echo "components/ must use the widget layer instead of Qt, and nothing above it:"
        echo "$out"
        bad=1
    fi
    out=$(offenders "$root/controls" "$controls_forbidden")
    if [ -n "$out" ]; then
        echo "controls/ must use the widget layer instead of Qt, and nothing from app:"
        echo "$out"
        bad=1
    fi
    out=$(offenders "$root/widgets/window" "$window_forbidden")
    if [ -n "$out" ]; then
        echo "widgets/window/ must not know the INI files:"
        echo "$out"
        bad=1
    fi
    return $bad
}

self_test() {
    local tmp fails=0
    tmp=$(mktemp -d) || return 2
    mk() {  # mk <file> <line...>
        mkdir -p "$(dirname "$tmp/$1")"
        local f=$1
        shift
        printf '%s\n' "$@" >"$tmp/$f"
    }
    expect() {  # expect <0|1> <what>
        local want=$1 what=$2 got
        check "$tmp" >/dev/null
        got=$?
        if [ "$got" != "$want" ]; then
            echo "self-test: $what: exit $got, expected $want"
            fails=1
        fi
        rm -rf "${tmp:?}"/*
    }

    mk runtime/data.cpp '#include "tabulo/runtime/data.h"' '#include <vector>' '#include <cstdint>'
    mk runtime/tabulo/runtime/data.h '#pragma once' '#include <string_view>' '// #include <QString> in a comment'
    mk components/ini.cpp '#include "tabulo/components/ini.h"' '#include "tabulo/widgets/ini.h"' \
        '#include "tabulo/runtime/event.h"' '#include <queue>'
    expect 0 "a clean tree"

    mk runtime/x.cpp '#include <QString>'
    expect 1 "runtime with <QString>"
    mk runtime/tabulo/runtime/x.h '  #  include <QtCore/QObject>'
    expect 1 "runtime with an indented <QtCore/QObject>"
    mk runtime/x.cpp '#include "tabulo/widgets/control.h"'
    expect 1 "runtime with a widget-layer header"
    mk runtime/x.cpp '#include "tabulo/components/hub.h"'
    expect 1 "runtime with a component header"
    mk runtime/x.cpp '#include "tabulo/runtime/../widgets/obj.h"'
    expect 1 "runtime leaving its folder through its own"
    mk runtime/x.cpp '#include <QString> // like "tabulo/runtime/text.h"'
    expect 1 "runtime with <QString> and a runtime name in the comment"
    mk runtime/x.cpp '#include "../widgets/tabulo/widgets/bitmap.h"'
    expect 1 "runtime reaching into widgets/ by a relative path"
    mk runtime/x.inl '#include <QtGlobal>'
    expect 1 "runtime .inl with <QtGlobal>"

    mk components/x.cpp '#include <QTimer>'
    expect 1 "components with <QTimer>"
    mk components/tabulo/components/x.h '#include <QtWidgets/QLabel>'
    expect 1 "components with <QtWidgets/QLabel>"
    mk components/x.cpp '#include "QPainter"'
    expect 1 "components with a quoted Qt header"
    mk components/x.cpp '#include <QImage>'
    expect 1 "components with <QImage>"
    mk components/x.cpp '#include "tabulo/controls/win.h"'
    expect 1 "components with a visual-component header"
    mk components/x.cpp '#include "tabulo/app/base.h"'
    expect 1 "components with an application header"
    mk controls/image.cpp '#include <QImage>'
    expect 1 "controls with <QImage>"
    mk controls/x.cpp '#include "tabulo/app/base.h"'
    expect 1 "controls with an application header"
    mk controls/x.cpp '#include "tabulo/components/hintmanager.h"' '#include "tabulo/widgets/bitmap.h"'
    expect 0 "controls with component and widget-layer headers"

    mk widgets/window/control_widgets.h '#include "tabulo/widgets/ini.h"'
    expect 1 "the window layer with the INI header"
    mk widgets/window/control.cpp '#include "tabulo/widgets/canvas.h"' '#include <QWidget>'
    expect 0 "the window layer with Qt and the drawing headers"

    # Names that only look like Qt's, and the layers' own headers.
    mk components/x.cpp '#include "tabulo/widgets/tooltip.h"' '#include <queue>' \
        '#include "query.h"' '// #include <QLabel> was here'
    mk runtime/x.cpp '#include <queue>' '#include "tabulo/runtime/schema.h"'
    expect 0 "look-alikes and commented-out includes"

    rm -rf "$tmp"
    [ $fails = 0 ] && echo "self-test passed"
    return $fails
}

case "${1-}" in
    --self-test)
        self_test
        exit $?
        ;;
    -h | --help)
        sed -n '2,16p' "$self"
        exit 0
        ;;
esac

root=${1:-$(cd "$(dirname "$self")/../.." && pwd)}
if [ ! -d "$root/runtime" ] && [ ! -d "$root/components" ]; then
    echo "check_layering.sh: no runtime/ or components/ under $root" >&2
    exit 2
fi
check "$root"
