#!/usr/bin/env bash
# Builds the reference of the framework, the host binding, the plug-in library and the Tie
# plug-in from their headers into build/docs/html (open index.html), with class graphs, the table
# of host services, and the README's guide to writing a command as its main page. Fails when a
# public class has no description, which is why the test command runs it too (a few seconds).
# Installs Doxygen and Graphviz when missing. The kit's archive carries the same reference
# (cmake/Reference.cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
PLOVIK_SETUP_DOCS=1 source scripts/setup.sh

cmake -DOUT=build/docs -P cmake/Reference.cmake
