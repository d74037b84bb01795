#!/usr/bin/python3
"""The exchange server of tools/exchange_server.py, for a test that needs a server of its own,
with one fault a test can ask for:

    --die-during NAME   halfway through sending the file NAME the server kills itself (SIGKILL):
                        the client has half a file and a connection that is gone.

Without it the server is exactly the real one.
"""

import argparse
import importlib.util
import os
import signal
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(os.path.dirname(os.path.dirname(HERE)), 'tools', 'exchange_server.py')

spec = importlib.util.spec_from_file_location('exchange_server', SERVER)
exchange_server = importlib.util.module_from_spec(spec)
spec.loader.exec_module(exchange_server)

from pyftpdlib.handlers import DTPHandler, FTPHandler  # noqa: E402  (after the server's check)


def dying_handler(victim):
    class DyingDTP(DTPHandler):
        def send(self, data):
            sending = not self.receive and self.file_obj is not None
            if sending and os.path.basename(getattr(self.file_obj, 'name', '')) == victim:
                DTPHandler.send(self, data[:max(1, len(data) // 2)])
                os.kill(os.getpid(), signal.SIGKILL)
            return DTPHandler.send(self, data)

    class DyingHandler(FTPHandler):
        dtp_handler = DyingDTP
        # sendfile() would hand the whole file to the kernel at once.
        use_sendfile = False

    return DyingHandler


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--die-during', metavar='NAME')
    arguments = exchange_server.parse_arguments(argv, parser)
    handler = dying_handler(arguments.die_during) if arguments.die_during else FTPHandler
    exchange_server.serve(arguments, handler)


if __name__ == '__main__':
    main(sys.argv[1:])
