"""What the integration tests in Python share: the fixture's server and a few FTP steps."""

import ftplib
import io
import os

USER, PASSWORD = 'culvora', 'wobak'


def shared_server():
    """(port, root) of the server the fixture "exchange_server" started."""
    values = {}
    with open(os.environ['CULVORA_EXCHANGE_ENV'], encoding='utf-8') as f:
        for line in f:
            key, _, value = line.rstrip('\n').partition('=')
            values[key] = value
    return int(values['CULVORA_EXCHANGE_PORT']), values['CULVORA_EXCHANGE_ROOT']


PORT, ROOT = shared_server()


def connect(port=PORT):
    ftp = ftplib.FTP()
    ftp.connect('127.0.0.1', port, timeout=10)
    return ftp


def logged_in(port=PORT):
    ftp = connect(port)
    ftp.login(USER, PASSWORD)
    ftp.voidcmd('TYPE I')
    return ftp


def fetch(ftp, path):
    out = io.BytesIO()
    ftp.retrbinary('RETR ' + path, out.write)
    return out.getvalue()


def on_disk(path):
    with open(path, 'rb') as f:
        return f.read()
