#!/usr/bin/env bash
# Stands in for Wine's 32-bit loader on a kernel without 32-bit support.
echo "$0: cannot execute binary file: Exec format error" >&2
exit 126
