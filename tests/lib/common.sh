# The shared test library, sourced by every test script of both ports, scripts/run-demo and the
# benchmarks. Sourcing this file sources the rest of tests/lib/:
#   check.sh     check, finish: the assertions
#   xvfb.sh      xvfb_start: a private X server on a display number of its own
#   client.sh    brand, brand_onto, start_in, wait_exit, ended, kill_client: branded clients
#   waits.sh     wait_until, wait_file, wait_window: waits that end once the thing is there
#   pixels.sh    screenshot, pixel, pixels_at, pixels, count_color, color_box, screen_pixel,
#                wait_pixel, check_pixel: pictures and the screen, as R,G,B
#   server.sh    serve, requested, requests, wait_request, wait_requests: the local HTTP server
#   desktop.sh   link_recorder: the desktop's default browser replaced by a recorder
#   browser_site.sh  browser_site: the pages of the browser tests
#   signed_update.sh signing_keys, publish_signed, publish_case: signed updates on the server
#   desktops.sh  weston_start, weston_stop, wm_start, xorg_start: Wayland, a window manager
#                with a panel, two monitors
# It also offers at_exit (clean-up steps run when the script ends, newest first) and make_work
# (the scratch folder WORK, removed at the end). Needs MC_SOURCE; sets no shell options.

[ -z "${TESTLIB:-}" ] || return 0  # sourced once
TESTLIB="$MC_SOURCE/tests/lib"

AT_EXIT=()
# at_exit COMMAND: runs COMMAND (a shell string) when the script ends, before the steps
# registered earlier.
at_exit() {
  AT_EXIT+=("$1")
  trap run_at_exit EXIT
}
run_at_exit() {
  local i
  for ((i = ${#AT_EXIT[@]} - 1; i >= 0; i--)); do eval "${AT_EXIT[i]}" || true; done
}

# make_work: WORK, a new scratch folder, removed when the script ends.
make_work() {
  WORK=$(mktemp -d)
  at_exit remove_work
}
remove_work() {
  # Helper processes (WebKit, Wine) may still be writing caches for a moment.
  rm -rf "$WORK" 2>/dev/null || { sleep 1; rm -rf "$WORK" 2>/dev/null; } || true
}

source "$TESTLIB/check.sh"
source "$TESTLIB/xvfb.sh"
source "$TESTLIB/client.sh"
source "$TESTLIB/waits.sh"
source "$TESTLIB/pixels.sh"
source "$TESTLIB/server.sh"
source "$TESTLIB/desktop.sh"
source "$TESTLIB/browser_site.sh"
source "$TESTLIB/signed_update.sh"
source "$TESTLIB/desktops.sh"
