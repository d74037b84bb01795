#!/usr/bin/python3
"""An FTP server that misbehaves, for the exchange's tests of what a client must survive.

    hostile_ftp_server.py --port-file FILE [--port 0]

Anyone may log in with any password; the user name picks the misbehaviour (the "scenario"), so
one server started for the whole run serves every test:

  honest        nothing wrong: the tree below, served as a server should
  drip          every file comes at 2 bytes a second
  trickle       network.txt is 2 MB and comes at 8 KB a second: fast enough for any rate
                limit, never done within a deadline
  silent-data   the data connection opens and nothing ever comes on it
  drip-replies  the greeting comes whole; every reply after it at 2 bytes a second
  claims-small  SIZE and the transfer's reply announce 100 bytes; 20 MB follow
  claims-big    SIZE announces 20 MB; 1 KB follows and the connection closes
  no-size-big   SIZE is refused; 20 MB follow
  bad-names     listings full of paths, "..", control characters and a 10 MB name; network.txt
                and netindex.txt with absurd lines and names

The tree (honest): /tavendi/network.txt with one category "Bread" in the folder "bread", whose
netindex.txt lists one recipe, "Overnight loaf", in 20250207080145.tvx. Stores are refused.
"""

import argparse
import os
import signal
import socket
import socketserver
import sys
import threading
import time

RECIPE = (b'[NAMN]\r\nOvernight loaf\r\n[PORTIONER]\r\n1 loaf\r\n[TID]\r\n720\r\n[IND]\r\n'
          b'5 dl flour\r\n3 dl water\r\n1 tsp salt\r\n[G\xd6RA]\r\nMix, wait a night, bake.\r\n'
          b'[TYP]\r\nBread\r\n')
STEM = '20250207080145'
HONEST = {
    '/tavendi/network.txt': b'<\r\nA hostile server.\r\n>\r\n# Bread|bread\r\n/end\r\n',
    '/tavendi/bread/netindex.txt': ('/begin\r\nOvernight loaf|%s\r\n/end\r\n' % STEM).encode(),
    '/tavendi/bread/%s.tvx' % STEM: RECIPE,
}
FOLDERS = {'/', '/tavendi', '/tavendi/bread'}

TEN_MB = 10 * 1024 * 1024
TWENTY_MB = 20 * 1024 * 1024
ESC = b'\x1b'

BAD_NETWORK = (b'<\r\n' + ESC + b']0;owned\x07Welcome ' + ESC + b'[2J\r\n>\r\n'
               b'# ' + ESC + b'[31mRed bread|bread\r\n'
               b'# Up and out|../..\r\n'
               b'# Root|/etc\r\n'
               b'# Long|' + b'L' * TEN_MB + b'\r\n'
               b'# After the long one|after\r\n/end\r\n')
BAD_INDEX = (b'/begin\r\n'
             b'Evil ' + ESC + b'[31mloaf|' + STEM.encode() + b'\r\n'
             b'Dots|../../secret\r\n'
             + b'N' * TEN_MB + b'|' + STEM.encode() + b'\r\n'
             b'After the long one|' + STEM.encode() + b'\r\n/end\r\n')
BAD_LISTING = [b'tavendi', b'..', b'../../etc/passwd', b'/etc/shadow', b'red' + ESC + b'[31m',
               b'nul\x00byte', b'x' * TEN_MB, b'last']


def serve_file(path, scenario):
    """The bytes a RETR of path sends, and how: (bytes, announced size or None, pace)."""
    content = HONEST.get(path)
    if scenario == 'bad-names':
        content = {'/tavendi/network.txt': BAD_NETWORK,
                   '/tavendi/bread/netindex.txt': BAD_INDEX}.get(path, content)
    if content is None:
        return None
    if scenario == 'trickle' and path.endswith('network.txt'):
        content = b'<\r\n' + b'Slow but steady.\r\n' * (2 * 1024 * 1024 // 18) + b'>\r\n/end\r\n'
    if scenario == 'claims-small':
        return b'#' * TWENTY_MB, 100, None
    if scenario == 'claims-big':
        return content[:1024], TWENTY_MB, None
    if scenario == 'no-size-big':
        return b'#' * TWENTY_MB, None, None
    return content, len(content), scenario


class Session(socketserver.StreamRequestHandler):
    timeout = 60

    def setup(self):
        super().setup()
        self.scenario = None
        self.logged_in = False
        self.cwd = '/'
        self.listener = None

    def reply(self, text):
        data = (text + '\r\n').encode('latin-1')
        if self.scenario == 'drip-replies':
            drip(self.connection, data)
        else:
            self.wfile.write(data)
            self.wfile.flush()

    def handle(self):
        try:
            self.reply('220 Hostile test server ready.')
            while True:
                line = self.rfile.readline(4096)
                if not line:
                    return
                command, _, argument = line.decode('latin-1').rstrip('\r\n').partition(' ')
                handler = getattr(self, 'do_' + command.upper(), None)
                if handler is None:
                    self.reply('500 Command not understood.')
                elif handler(argument) == 'quit':
                    return
        except OSError:
            pass  # the client gave up, which is the point
        finally:
            if self.listener:
                self.listener.close()

    # --- login and folders

    def do_USER(self, name):
        self.scenario = name
        self.reply('331 Any password will do.')

    def do_PASS(self, _):
        self.logged_in = True
        self.reply('230 Logged in.')

    def do_QUIT(self, _):
        self.reply('221 Goodbye.')
        return 'quit'

    def do_PWD(self, _):
        self.reply('257 "%s" is the current folder.' % self.cwd)

    def do_TYPE(self, _):
        self.reply('200 Type set.')

    def do_CWD(self, path):
        target = os.path.normpath(os.path.join(self.cwd, path)).replace('//', '/')
        if target in FOLDERS:
            self.cwd = target
            self.reply('250 Folder changed.')
        else:
            self.reply('550 No such folder.')

    def do_SIZE(self, name):
        found = serve_file(self.path_of(name), self.scenario)
        if found is None or found[1] is None:
            self.reply('502 SIZE is not implemented here.')
        else:
            self.reply('213 %d' % found[1])

    def do_STOR(self, _):
        self.reply('550 Nothing is stored here.')

    def path_of(self, name):
        return os.path.normpath(os.path.join(self.cwd, name))

    # --- data connections

    def do_EPSV(self, _):
        self.open_listener()
        self.reply('229 Entering Extended Passive Mode (|||%d|)'
                   % self.listener.getsockname()[1])

    def do_PASV(self, _):
        self.open_listener()
        port = self.listener.getsockname()[1]
        self.reply('227 Entering Passive Mode (127,0,0,1,%d,%d).' % (port >> 8, port & 255))

    def open_listener(self):
        if self.listener:
            self.listener.close()
        self.listener = socket.socket()
        self.listener.bind(('127.0.0.1', 0))
        self.listener.listen(1)
        self.listener.settimeout(10)

    def data_connection(self):
        listener, self.listener = self.listener, None
        if listener is None:
            self.reply('425 Use EPSV first.')
            return None
        try:
            data, _ = listener.accept()
        except OSError:
            self.reply('425 No data connection.')
            return None
        finally:
            listener.close()
        data.settimeout(30)
        return data

    def do_NLST(self, _):
        names = BAD_LISTING if self.scenario == 'bad-names' else {
            '/': [b'tavendi'], '/tavendi': [b'network.txt', b'bread'],
            '/tavendi/bread': [b'netindex.txt', STEM.encode() + b'.tvx']}.get(self.cwd, [])
        self.reply('150 Here comes the listing.')
        data = self.data_connection()
        if data is None:
            return
        with data:
            data.sendall(b''.join(name + b'\r\n' for name in names))
        self.reply('226 Listing sent.')

    do_LIST = do_NLST

    def do_RETR(self, name):
        found = serve_file(self.path_of(name), self.scenario)
        if found is None:
            self.reply('550 No such file.')
            return
        content, announced, pace = found
        self.reply('150 Opening BINARY mode data connection for %s%s.'
                   % (name, '' if announced is None else ' (%d bytes)' % announced))
        data = self.data_connection()
        if data is None:
            return
        with data:
            if pace == 'silent-data':
                # Holds the connection open and sends nothing until the client goes.
                data.settimeout(None)
                data.recv(1)
                return
            if pace == 'drip':
                drip(data, content)
            elif pace == 'trickle':
                for start in range(0, len(content), 1024):
                    data.sendall(content[start:start + 1024])
                    time.sleep(1024 / (8 * 1024))
            else:
                data.sendall(content)
        self.reply('226 Transfer complete.')


def drip(connection, data):
    for i in range(len(data)):
        connection.sendall(data[i:i + 1])
        time.sleep(0.5)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main(argv):
    parser = argparse.ArgumentParser(description='A misbehaving FTP server for tests.')
    parser.add_argument('--port', type=int, default=0)
    parser.add_argument('--port-file', required=True)
    arguments = parser.parse_args(argv)
    server = Server(('127.0.0.1', arguments.port), Session)
    temporary = arguments.port_file + '.tmp'
    with open(temporary, 'w', encoding='ascii') as f:
        f.write('%d\n' % server.server_address[1])
    os.replace(temporary, arguments.port_file)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    threading.current_thread().name = 'hostile'
    server.serve_forever(poll_interval=0.5)


if __name__ == '__main__':
    main(sys.argv[1:])
