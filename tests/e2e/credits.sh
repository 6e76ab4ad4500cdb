#!/usr/bin/env bash
# The credits reach standard output, exactly and flushed, before the menu shows;
# "2" quits with status 0 and nothing more is printed.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

start_at_menu
expect_only_credits_on_stdout
quit_from_menu
