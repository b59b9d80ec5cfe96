#!/bin/sh
# A converter that records how it was started: its arguments one per line
# into $DRAVIK_RECORD, its working directory into $DRAVIK_RECORD.cwd. It
# leaves $DRAVIK_OUTPUT (when set) as output.varval and exits with
# $DRAVIK_EXIT (0 when unset).
: > "$DRAVIK_RECORD"
for argument in "$@"; do
    printf '%s\n' "$argument" >> "$DRAVIK_RECORD"
done
pwd > "$DRAVIK_RECORD.cwd"
if [ -n "$DRAVIK_OUTPUT" ]; then
    cp "$DRAVIK_OUTPUT" output.varval
fi
exit "${DRAVIK_EXIT:-0}"
