#!/usr/bin/python3
"""The Culvora recipe exchange: an FTP server (pyftpdlib) on a folder that holds tavendi/.

    /usr/bin/python3 tools/exchange_server.py --root DIR [--host H] [--port N]
                                              [--passive-ports LOW-HIGH] [--port-file FILE]
                                              [--verbose]

scripts/exchange-server is the usual way in: it makes the tree on the first start
(culvora-cli exchange-init) and then runs this. Run it with Debian's Python, which has
python3-pyftpdlib.

One account, the program's user "culvora" with its password "wobak", at home in DIR:
  DIR                 change into it and list it (the program lists the folder it logs into)
  DIR/tavendi/...     list and read: network.txt, the categories, their netindex.txt and recipes
  DIR/tavendi/upload  change into it and store; storing a name again replaces the file (two
                      uploads of one recipe in the same second share a name). Nothing there can
                      be listed or read back: with a password every copy of the program knows,
                      a readable upload folder would be a file share for anyone.
No anonymous login; no delete, rename, append, new folder or store anywhere else.

--port 0 takes a free port; --port-file then tells which (written once the server listens).
Quiet unless --verbose, which logs every command.
"""

import argparse
import logging
import os
import signal
import sys

try:
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.log import config_logging
    from pyftpdlib.servers import FTPServer
except ImportError:
    sys.exit('exchange_server: pyftpdlib is missing; run scripts/setup, or apt-get install '
             'python3-pyftpdlib, and start this with /usr/bin/python3')

USER = 'culvora'
PASSWORD = 'wobak'

HOME_PERMS = 'el'
EXCHANGE_PERMS = 'elr'
UPLOAD_PERMS = 'ew'


def make_authorizer(root):
    """The one account. pyftpdlib takes the first folder override that holds a path, so the
    upload folder's goes in before the one of the whole exchange tree around it."""
    root = os.path.realpath(root)
    exchange = os.path.join(root, 'tavendi')
    upload = os.path.join(exchange, 'upload')
    for folder in (exchange, upload):
        if not os.path.isdir(folder):
            raise SystemExit('exchange_server: %s is missing; make the tree with '
                             '"culvora-cli exchange-init --root %s"' % (folder, root))
    authorizer = DummyAuthorizer()
    authorizer.add_user(USER, PASSWORD, homedir=root, perm=HOME_PERMS,
                        msg_login='Welcome to the Culvora recipe exchange.',
                        msg_quit='Goodbye.')
    authorizer.override_perm(USER, upload, UPLOAD_PERMS, recursive=False)
    authorizer.override_perm(USER, exchange, EXCHANGE_PERMS, recursive=True)
    return authorizer


def make_server(root, host, port, handler_base=FTPHandler, passive_ports=None):
    """A server listening on (host, port) that serves root; not yet running."""
    handler = type('ExchangeHandler', (handler_base,), {})
    handler.authorizer = make_authorizer(root)
    handler.banner = 'Culvora recipe exchange ready.'
    handler.passive_ports = passive_ports
    server = FTPServer((host, port), handler)
    server.max_cons = 256
    server.max_cons_per_ip = 16
    return server


def write_port_file(path, port):
    # Whoever waits for the file must never read half of it.
    temporary = path + '.tmp'
    with open(temporary, 'w', encoding='ascii') as f:
        f.write('%d\n' % port)
    os.replace(temporary, path)


def port_range(text):
    low, _, high = text.partition('-')
    try:
        ports = range(int(low), int(high or low) + 1)
    except ValueError:
        raise argparse.ArgumentTypeError('not a range of ports: %r' % text)
    if not ports or ports.start < 1 or ports.stop > 65536:
        raise argparse.ArgumentTypeError('not a range of ports: %r' % text)
    return list(ports)


def parse_arguments(argv, parser=None):
    parser = parser or argparse.ArgumentParser(
        description='Serve a Culvora recipe exchange tree over FTP.')
    parser.add_argument('--root', required=True, help='the folder that holds tavendi/')
    parser.add_argument('--host', default='127.0.0.1', help='address to listen on (127.0.0.1)')
    parser.add_argument('--port', type=int, default=2121, help='port (2121; 0 takes a free one)')
    parser.add_argument('--passive-ports', type=port_range, metavar='LOW-HIGH',
                        help='ports for data connections (any free one when not given)')
    parser.add_argument('--port-file', help='write the port here once the server listens')
    parser.add_argument('--verbose', action='store_true', help='log every command')
    return parser.parse_args(argv)


def serve(arguments, handler_base=FTPHandler):
    config_logging(level=logging.DEBUG if arguments.verbose else logging.WARNING)
    try:
        server = make_server(arguments.root, arguments.host, arguments.port, handler_base,
                             arguments.passive_ports)
    except OSError as error:
        sys.exit('exchange_server: cannot listen on %s:%d: %s'
                 % (arguments.host, arguments.port, error.strerror or error))
    host, port = server.address[:2]
    if arguments.port_file:
        write_port_file(arguments.port_file, port)
    tree = os.path.join(os.path.realpath(arguments.root), 'tavendi')
    print('Culvora recipe exchange: ftp://%s@%s:%d/ serves %s\n'
          'Uploads arrive in %s. Ctrl+C stops the server.'
          % (USER, host, port, tree, os.path.join(tree, 'upload')), flush=True)
    # A plain "kill" ends the server as Ctrl+C does: the open connections are closed first.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    server.serve_forever(timeout=1.0)


def main(argv):
    serve(parse_arguments(argv))


if __name__ == '__main__':
    main(sys.argv[1:])
