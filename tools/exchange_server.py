#!/usr/bin/python3
"""The Culvora recipe exchange: an FTP server (pyftpdlib) on a folder that holds tavendi/.

    /usr/bin/python3 tools/exchange_server.py --root DIR [--host H] [--port N]
                                              [--passive-ports LOW-HIGH] [--port-file FILE]
                                              [--max-upload-bytes N] [--max-upload-total N]
                                              [--max-connections-per-address N]
                                              [--tls-cert FILE --tls-key FILE [--tls-required]]
                                              [--verbose]

scripts/exchange-server is the usual way in: it makes the tree on the first start
(culvora-cli exchange-init) and then runs this. Run it with Debian's Python, which has
python3-pyftpdlib (and python3-openssl for --tls-cert).

One account, the program's user "culvora" with its password "wobak", at home in DIR:
  DIR                 change into it and list it (the program lists the folder it logs into)
  DIR/tavendi/...     list and read: network.txt, the categories, their netindex.txt and recipes
  DIR/tavendi/upload  change into it and store exchange files. Nothing there can be listed or
                      read back: with a password every copy of the program knows, a readable
                      upload folder would be a file share for anyone.
No anonymous login; no delete, rename, append, new folder or store anywhere else.

Since everybody knows the password, the upload folder keeps its own rules:
  - only names of exchange files (letters, digits, "-", "_" and ".", ending in ".tvx");
  - at most --max-upload-bytes a file (64K: a recipe is a few kilobytes); a larger one is cut
    off and removed, and so is an empty one or one whose transfer broke off;
  - nothing is ever replaced: a name that is there already is stored with a counter
    ("20261210143005-2.tvx", as two uploads made in the same second are named alike);
  - once the folder holds --max-upload-total (100M), stores are refused until the operator
    publishes or removes what is there;
  - STOU, APPE and resuming with REST are refused;
  - every upload is logged with the address it came from, and so is every refusal.
A client address keeps at most --max-connections-per-address control connections (8).

--tls-cert and --tls-key (PEM files) offer FTPS: explicit TLS on port --port, which the program
uses with tls=try or tls=required in its exchange.ini. Plain clients are still served unless
--tls-required is given.

--port 0 takes a free port; --port-file then tells which (written once the server listens).
Uploads and refusals are logged on stdout; --verbose logs every command.
"""

import argparse
import logging
import os
import re
import signal
import sys
import time

try:
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.log import config_logging, logger
    from pyftpdlib.servers import FTPServer
except ImportError:
    sys.exit('exchange_server: pyftpdlib is missing; run scripts/setup, or apt-get install '
             'python3-pyftpdlib, and start this with /usr/bin/python3')

USER = 'culvora'
PASSWORD = 'wobak'

DEFAULT_MAX_UPLOAD_BYTES = 64 * 1024
DEFAULT_MAX_UPLOAD_TOTAL = 100 * 1024 * 1024
DEFAULT_MAX_CONNECTIONS_PER_ADDRESS = 8
UPLOAD_NAME = re.compile(r'[A-Za-z0-9_-][A-Za-z0-9._-]{0,95}\.tvx')
# "stem-2.tvx" up to "stem-999.tvx": past that, someone is sending one name in a loop.
MAX_COUNTER = 999

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


def note(text):
    """A line of the server's log, whether or not --verbose is given."""
    print(time.strftime('%Y-%m-%d %H:%M:%S ') + text, flush=True)


def folder_size(folder):
    total = 0
    with os.scandir(folder) as entries:
        for entry in entries:
            if entry.is_file(follow_symlinks=False):
                total += entry.stat(follow_symlinks=False).st_size
    return total


def free_name(folder, name):
    """name, or the stem with the first counter that is free; None when none is."""
    stem = name[:-len('.tvx')]
    candidate = name
    for counter in range(2, MAX_COUNTER + 2):
        if not os.path.lexists(os.path.join(folder, candidate)):
            return candidate
        candidate = '%s-%d.tvx' % (stem, counter)
    return None


class DataChannel:
    """The data channel's share of the upload rules: a file past the size cap is cut off, and an
    empty one is not stored. Mixed into pyftpdlib's data handler, plain or TLS."""

    def readable(self):
        # A client may begin the TLS handshake of a data connection before it sends the command
        # that uses it (curl does); pyftpdlib would take the early bytes for a client gone.
        if getattr(self, '_ssl_accepting', False):
            return True
        return super().readable()

    def handle_read_event(self):
        super().handle_read_event()
        limit = self.cmd_channel.max_upload_bytes
        if self.receive and not self._closed and self.tot_bytes_received > limit:
            self.refuse('552 The file is larger than %d bytes, more than any recipe can be; '
                        'nothing was stored.' % limit)

    def handle_close(self):
        if self.receive and not self._closed and self.tot_bytes_received == 0:
            self.refuse('550 An empty file is not an exchange file; nothing was stored.')
        else:
            super().handle_close()

    def refuse(self, reply):
        # The file goes before the reply does: a client told "nothing was stored" finds nothing.
        # (It is still open; closing it is pyftpdlib's.) Closing the channel with the transfer
        # unfinished sends the reply.
        if self.file_obj is not None:
            try:
                os.remove(self.file_obj.name)
            except OSError:
                pass
        self.transfer_finished = False
        self._resp = (reply, logger.info)
        self.cmd_channel.upload_refusal = reply[4:]
        self.close()


class ExchangeRules:
    """The upload folder's rules, mixed into pyftpdlib's control handler (plain or TLS)."""

    upload_folder = None
    max_upload_bytes = DEFAULT_MAX_UPLOAD_BYTES
    max_upload_total = DEFAULT_MAX_UPLOAD_TOTAL
    upload_refusal = None

    def client(self):
        return '%s:%s' % (self.remote_ip, self.remote_port)

    def refuse_upload(self, code, why, name):
        self.respond('%d %s' % (code, why))
        note('refused upload %r from %s: %s' % (name, self.client(), why))

    def ftp_STOR(self, file, mode='w'):
        folder, name = os.path.split(file)
        if 'a' in mode:
            return self.refuse_upload(550, 'Appending is not accepted; send the whole file with '
                                           'STOR.', name)
        if self._restart_position:
            self._restart_position = 0
            return self.refuse_upload(550, 'Resuming an upload is not accepted; send the whole '
                                           'file again.', name)
        if folder != self.upload_folder:
            return self.refuse_upload(550, 'Files are accepted only in tavendi/upload.', name)
        if not UPLOAD_NAME.fullmatch(name):
            return self.refuse_upload(550, 'Only exchange files (*.tvx) are accepted.', name)
        if folder_size(folder) + self.max_upload_bytes > self.max_upload_total:
            return self.refuse_upload(452, 'The upload folder is full; please try again later.',
                                      name)
        stored = free_name(folder, name)
        if stored is None:
            return self.refuse_upload(450, 'Too many uploads under this name; please try again '
                                           'later.', name)
        self.upload_refusal = None
        # "x": a file that is there is never opened for writing, whatever happened meanwhile.
        return super().ftp_STOR(os.path.join(folder, stored), mode='x')

    def ftp_APPE(self, file):
        self.refuse_upload(550, 'Appending is not accepted; send the whole file with STOR.',
                           os.path.basename(file))

    def ftp_STOU(self, line):
        self.refuse_upload(550, 'STOU is not accepted; send the file with STOR under its own '
                                'name.', line)

    def on_file_received(self, file):
        # The size as it arrived, not read back from the folder: the client has its "226"
        # already, and the operator may have moved the file on. (An exception here would leave
        # the connection counted against its address for good.)
        dtp = self.data_channel
        size = dtp.get_transmitted_bytes() if dtp is not None else 0
        note('upload %s (%d bytes) from %s' % (os.path.basename(file), size, self.client()))

    def on_incomplete_file_received(self, file):
        try:
            os.remove(file)
        except OSError:
            pass
        note('upload %s from %s not stored: %s'
             % (os.path.basename(file), self.client(),
                self.upload_refusal or 'the transfer broke off'))

    def handle_max_cons_per_ip(self):
        note('refused a connection from %s: too many from that address' % self.remote_ip)
        super().handle_max_cons_per_ip()


def tls_handler():
    try:
        from pyftpdlib.handlers import TLS_FTPHandler
    except ImportError:
        sys.exit('exchange_server: --tls-cert needs python3-openssl; run scripts/setup, or '
                 'apt-get install python3-openssl')
    return TLS_FTPHandler


def make_server(root, host, port, handler_base=None, passive_ports=None,
                max_upload_bytes=DEFAULT_MAX_UPLOAD_BYTES,
                max_upload_total=DEFAULT_MAX_UPLOAD_TOTAL,
                max_connections_per_address=DEFAULT_MAX_CONNECTIONS_PER_ADDRESS,
                tls_cert=None, tls_key=None, tls_required=False):
    """A server listening on (host, port) that serves root; not yet running."""
    if handler_base is None:
        handler_base = tls_handler() if tls_cert else FTPHandler
    dtp = type('ExchangeDTP', (DataChannel, handler_base.dtp_handler), {})
    handler = type('ExchangeHandler', (ExchangeRules, handler_base), {'dtp_handler': dtp})
    handler.authorizer = make_authorizer(root)
    handler.banner = 'Culvora recipe exchange ready.'
    handler.passive_ports = passive_ports
    handler.upload_folder = os.path.join(os.path.realpath(root), 'tavendi', 'upload')
    handler.max_upload_bytes = max_upload_bytes
    handler.max_upload_total = max_upload_total
    if tls_cert:
        handler.certfile = tls_cert
        handler.keyfile = tls_key
        handler.tls_control_required = tls_required
        handler.tls_data_required = tls_required
        try:
            handler.get_ssl_context()
        except Exception as error:  # pyOpenSSL's errors say little alone
            raise SystemExit('exchange_server: cannot use the certificate %s and key %s: %s'
                             % (tls_cert, tls_key, error))
    server = FTPServer((host, port), handler)
    server.max_cons = 256
    server.max_cons_per_ip = max_connections_per_address
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


def byte_count(text):
    """"65536", "64K", "100M" or "2G"."""
    match = re.fullmatch(r'(\d+)([KMG]?)', text.strip().upper())
    if not match:
        raise argparse.ArgumentTypeError('not a number of bytes: %r' % text)
    value = int(match.group(1)) * {'': 1, 'K': 1024, 'M': 1024 ** 2, 'G': 1024 ** 3}[match.group(2)]
    if value < 1:
        raise argparse.ArgumentTypeError('must be at least 1 byte: %r' % text)
    return value


def positive(text):
    try:
        value = int(text)
    except ValueError:
        value = 0
    if value < 1:
        raise argparse.ArgumentTypeError('not a positive number: %r' % text)
    return value


def parse_arguments(argv, parser=None):
    parser = parser or argparse.ArgumentParser(
        description='Serve a Culvora recipe exchange tree over FTP.')
    parser.add_argument('--root', required=True, help='the folder that holds tavendi/')
    parser.add_argument('--host', default='127.0.0.1', help='address to listen on (127.0.0.1)')
    parser.add_argument('--port', type=int, default=2121, help='port (2121; 0 takes a free one)')
    parser.add_argument('--passive-ports', type=port_range, metavar='LOW-HIGH',
                        help='ports for data connections (any free one when not given)')
    parser.add_argument('--port-file', help='write the port here once the server listens')
    parser.add_argument('--max-upload-bytes', type=byte_count, default=DEFAULT_MAX_UPLOAD_BYTES,
                        metavar='N', help='largest upload (64K; K, M and G may follow)')
    parser.add_argument('--max-upload-total', type=byte_count, default=DEFAULT_MAX_UPLOAD_TOTAL,
                        metavar='N', help='what the upload folder may hold in all (100M)')
    parser.add_argument('--max-connections-per-address', type=positive,
                        default=DEFAULT_MAX_CONNECTIONS_PER_ADDRESS, metavar='N',
                        help='connections one client address may hold (8)')
    parser.add_argument('--tls-cert', metavar='FILE', help='serve FTPS with this certificate')
    parser.add_argument('--tls-key', metavar='FILE', help="the certificate's private key")
    parser.add_argument('--tls-required', action='store_true',
                        help='with --tls-cert: refuse clients that do not encrypt')
    parser.add_argument('--verbose', action='store_true', help='log every command')
    arguments = parser.parse_args(argv)
    if (arguments.tls_key or arguments.tls_required) and not arguments.tls_cert:
        parser.error('--tls-key and --tls-required go with --tls-cert')
    return arguments


def serve(arguments, handler_base=None):
    config_logging(level=logging.DEBUG if arguments.verbose else logging.WARNING)
    try:
        server = make_server(arguments.root, arguments.host, arguments.port, handler_base,
                             arguments.passive_ports, arguments.max_upload_bytes,
                             arguments.max_upload_total, arguments.max_connections_per_address,
                             arguments.tls_cert, arguments.tls_key, arguments.tls_required)
    except OSError as error:
        sys.exit('exchange_server: cannot listen on %s:%d: %s'
                 % (arguments.host, arguments.port, error.strerror or error))
    host, port = server.address[:2]
    if arguments.port_file:
        write_port_file(arguments.port_file, port)
    tree = os.path.join(os.path.realpath(arguments.root), 'tavendi')
    print('Culvora recipe exchange: ftp://%s@%s:%d/ serves %s%s\n'
          'Uploads arrive in %s (at most %d bytes each, %d in all). Ctrl+C stops the server.'
          % (USER, host, port, tree,
             (' (FTPS only)' if arguments.tls_required else ' (FTPS offered)')
             if arguments.tls_cert else '',
             os.path.join(tree, 'upload'), arguments.max_upload_bytes,
             arguments.max_upload_total), flush=True)
    # A plain "kill" ends the server as Ctrl+C does: the open connections are closed first.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    server.serve_forever(timeout=1.0)


def main(argv):
    serve(parse_arguments(argv))


if __name__ == '__main__':
    main(sys.argv[1:])
