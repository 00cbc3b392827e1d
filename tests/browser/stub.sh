#!/bin/sh
# The page against the stub server on 127.0.0.1 in headless Chromium (no namespaces needed).
#   stub.sh      exit 0 passed, 1 failed, 77 skipped (no node, chromium or playwright-core)
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v node >/dev/null 2>&1; then
    echo "SKIP: node is not installed (tools/install-deps installs nodejs)"
    exit 77
fi
exec node "$here/page-test.mjs" --stub
