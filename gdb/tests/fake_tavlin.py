# SPDX-License-Identifier: MIT
"""Stands in for the tavlin program in a run: `fake_tavlin.py --gdb ENDPOINT STEP...`.
Each step is one of
  connect          connects to ENDPOINT and shakes hands
  ask:PAYLOAD      sends a request and prints its reply
  say:TEXT         prints TEXT on stdout;  warn:TEXT  on stderr
  spew:N           prints N bytes on stdout and on stderr
  sleep:SECONDS    waits
  exit:CODE        ends with CODE
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from remote_client import RemoteClient  # noqa: E402


def main(arguments):
    endpoint = arguments[arguments.index("--gdb") + 1]
    client = None
    for step in arguments[arguments.index("--gdb") + 2:]:
        kind, _, value = step.partition(":")
        if kind == "connect":
            client = RemoteClient(endpoint)
            client.handshake()
        elif kind == "ask":
            print(client.request(value.encode("ascii")).decode("ascii"), flush=True)
        elif kind == "say":
            print(value, flush=True)
        elif kind == "warn":
            print(value, file=sys.stderr, flush=True)
        elif kind == "spew":
            sys.stdout.write("o" * int(value))
            sys.stderr.write("e" * int(value))
        elif kind == "sleep":
            time.sleep(float(value))
        elif kind == "exit":
            return int(value)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
