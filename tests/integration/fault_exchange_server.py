#!/usr/bin/python3
"""The exchange server of tools/exchange_server.py, for a test that needs a server of its own,
with a fault a test can ask for:

    --die-during NAME     halfway through sending the file NAME the server kills itself
                          (SIGKILL): the client has half a file and a connection that is gone.
    --freeze-during NAME  halfway through sending the file NAME the server stops itself
                          (SIGSTOP): the client has half a file and a connection that is silent.

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


def faulty_handler(victim, fault):
    """A handler that sends half of the file named victim and then sends itself the signal."""
    class FaultyDTP(DTPHandler):
        def send(self, data):
            sending = not self.receive and self.file_obj is not None
            if sending and os.path.basename(getattr(self.file_obj, 'name', '')) == victim:
                DTPHandler.send(self, data[:max(1, len(data) // 2)])
                os.kill(os.getpid(), fault)
            return DTPHandler.send(self, data)

    class FaultyHandler(FTPHandler):
        dtp_handler = FaultyDTP
        # sendfile() would hand the whole file to the kernel at once.
        use_sendfile = False

    return FaultyHandler


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--die-during', metavar='NAME')
    parser.add_argument('--freeze-during', metavar='NAME')
    arguments = exchange_server.parse_arguments(argv, parser)
    handler = None
    if arguments.die_during:
        handler = faulty_handler(arguments.die_during, signal.SIGKILL)
    elif arguments.freeze_during:
        handler = faulty_handler(arguments.freeze_during, signal.SIGSTOP)
    exchange_server.serve(arguments, handler)


if __name__ == '__main__':
    main(sys.argv[1:])
