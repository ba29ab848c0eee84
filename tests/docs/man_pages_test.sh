#!/usr/bin/env bash
# The manual pages render without a warning from man or groff, and the converter's page
# describes exactly the options that `marvoxa-cli --help` lists: one missing from the page, or
# one the program no longer takes, fails.
# Usage: man_pages_test.sh MARVOXA-CLI CLI-PAGE [OTHER-PAGES...]
set -uo pipefail
cli=$1
cli_page=$2
shift 2
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The page as man shows it to a user, at a fixed width so that tags keep their own lines.
render() {
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$1"
}

for page in "$cli_page" "$@"; do
    warnings=$(render "$page" 2>&1 >/dev/null) || fail "man could not render $page"
    [[ -z $warnings ]] || fail "man warns about $page: $warnings"
    warnings=$(groff -ww -z -man "$page" 2>&1) || fail "groff could not read $page"
    [[ -z $warnings ]] || fail "groff warns about $page: $warnings"
done

help=$("$cli" --help) || fail "$cli --help failed"
# Help lines name an option at their start: "  --ifo PATH   ...", also the bare "--"; a short
# form comes first, as in "  -h, --help".
mapfile -t help_options < <(grep -oE '^  (-[a-z], )?--[a-z-]*' <<<"$help" |
    sed -E 's/^ *(-[a-z], )?//' | sort -u)
((${#help_options[@]} >= 20)) || fail "only ${#help_options[@]} options read from --help"

page_text=$(render "$cli_page" 2>/dev/null)
options_section=$(sed -n '/^OPTIONS$/,/^[A-Z]/p' <<<"$page_text")
for option in "${help_options[@]}"; do
    # Each option is a tag of its own in OPTIONS: at the start of an indented line.
    grep -qE "^ +${option}([ ,=]|$)" <<<"$options_section" ||
        fail "--help lists $option but the OPTIONS of $cli_page do not describe it"
done

# Tags the page describes, as rendered, that --help does not know.
mapfile -t page_options < <(grep -oE '^ {7}--[a-z-]*' <<<"$options_section" | sed 's/^ *//' |
    sort -u)
for option in "${page_options[@]}"; do
    printf '%s\n' "${help_options[@]}" | grep -qxF -- "$option" ||
        fail "$cli_page describes $option, which --help does not list"
done

((failures == 0)) || exit 1
echo "${#help_options[@]} options of --help described in $cli_page; no warnings"
