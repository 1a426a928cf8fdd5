# Sourced first by a test that runs whole on a session bus of its own (and so on an
# accessibility bus of its own): runs the test again under dbus-run-session, which starts the
# bus for it and takes it away after. Without dbus-run-session or gdbus the test is skipped.
# shellcheck shell=bash
if [ -z "${KORVEL_E2E_PRIVATE_BUS:-}" ]; then
    if ! command -v dbus-run-session >/dev/null || ! command -v gdbus >/dev/null; then
        echo "no dbus-run-session or gdbus: skipped"
        exit 77
    fi
    KORVEL_E2E_PRIVATE_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
