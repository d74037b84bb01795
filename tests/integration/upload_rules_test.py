#!/usr/bin/python3
"""The upload folder's rules, on an exchange server of the test's own with small caps (1000
bytes a file, 3000 in all, 3 connections an address): every password-holder in the world can
store there, so only exchange files of a recipe's size go in, nothing is replaced or left half
written, the folder cannot be filled past its cap, and every upload and refusal is logged with
the address it came from."""

import ftplib
import io
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

from exchange_helpers import PASSWORD, USER, on_disk

SERVER = os.environ['CULVORA_EXCHANGE_SERVER']


class OwnServer:
    def __init__(self, *options):
        self.folder = tempfile.TemporaryDirectory()
        self.root = self.folder.name
        self.upload = os.path.join(self.root, 'tavendi', 'upload')
        os.makedirs(self.upload)
        with open(os.path.join(self.root, 'tavendi', 'network.txt'), 'wb') as f:
            f.write(b'/end\r\n')
        port_file = os.path.join(self.root, 'port')
        self.log_path = os.path.join(self.root, 'server.log')
        with open(self.log_path, 'wb') as log:
            self.process = subprocess.Popen(
                [sys.executable, SERVER, '--root', self.root, '--port', '0',
                 '--port-file', port_file] + list(options),
                stdout=log, stderr=subprocess.STDOUT)
        deadline = time.monotonic() + 15
        while not os.path.exists(port_file):
            if self.process.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError('the server did not start:\n' + self.log())
            time.sleep(0.02)
        with open(port_file) as f:
            self.port = int(f.read())

    def log(self):
        with open(self.log_path, encoding='utf-8', errors='replace') as f:
            return f.read()

    def login(self, patient=False):
        # A patient login waits while the server still counts connections just closed (on a
        # busy machine it may take a while to see them go).
        deadline = time.monotonic() + (10 if patient else 0)
        while True:
            ftp = ftplib.FTP()
            try:
                ftp.connect('127.0.0.1', self.port, timeout=10)
                break
            except ftplib.error_temp:
                ftp.close()
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.05)
        ftp.login(USER, PASSWORD)
        ftp.cwd('tavendi/upload')
        return ftp

    def stored(self):
        return {name: on_disk(os.path.join(self.upload, name)) for name in os.listdir(self.upload)}

    def close(self):
        self.process.terminate()
        self.process.wait(10)
        self.folder.cleanup()


class UploadRules(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = OwnServer('--max-upload-bytes', '1000', '--max-upload-total', '3000',
                               '--max-connections-per-address', '3')

    @classmethod
    def tearDownClass(cls):
        # Whatever a client did, no session ended in an exception: one that does stays counted
        # against its address, and a few of them lock the address out.
        log = cls.server.log()
        cls.server.close()
        if 'Traceback' in log:
            raise AssertionError('the server failed in a session:\n' + log)

    def setUp(self):
        for name in os.listdir(self.server.upload):
            os.remove(os.path.join(self.server.upload, name))
        self.ftp = self.server.login(patient=True)
        self.addCleanup(self.ftp.close)

    def store(self, command, content):
        return self.ftp.storbinary(command, io.BytesIO(content))

    def refusal(self, call):
        with self.assertRaises(ftplib.Error) as refused:
            call()
        return str(refused.exception)

    def test_what_is_refused_leaves_nothing_behind(self):
        cases = [
            ('larger than the cap', lambda: self.store('STOR 20261210143005.tvx', b'x' * 1001),
             '552 The file is larger than 1000 bytes'),
            ('empty', lambda: self.store('STOR 20261210143005.tvx', b''),
             '550 An empty file is not an exchange file'),
            ('not an exchange file', lambda: self.store('STOR notes.txt', b'x'),
             '550 Only exchange files (*.tvx) are accepted.'),
            ('a name with a blank', lambda: self.store('STOR my recipe.tvx', b'x'),
             '550 Only exchange files (*.tvx) are accepted.'),
            ('a unique name the server makes up', lambda: self.store('STOU', b'x'),
             '550 STOU is not accepted'),
            ('appending', lambda: self.store('APPE 20261210143005.tvx', b'x'), '550 '),
            ('resuming', lambda: self.ftp.storbinary('STOR 20261210143005.tvx',
                                                     io.BytesIO(b'xx'), rest=1),
             '550 Resuming an upload is not accepted'),
        ]
        for what, call, reply in cases:
            with self.subTest(what):
                self.assertTrue(self.refusal(call).startswith(reply))
                self.assertEqual(self.server.stored(), {})
        # The one store that is allowed still works on the same connection.
        self.store('STOR 20261210143005.tvx', b'x' * 1000)
        self.assertEqual(self.server.stored(), {'20261210143005.tvx': b'x' * 1000})

    def test_the_same_name_twice_is_stored_beside_never_over(self):
        for content in (b'one\r\n', b'two\r\n'):
            self.store('STOR 20261210143005.tvx', content)
        self.assertEqual(self.server.stored(), {'20261210143005.tvx': b'one\r\n',
                                                '20261210143005-2.tvx': b'two\r\n'})

    def test_a_full_folder_refuses_until_it_is_emptied(self):
        # 3000 bytes in all: a store goes in while a whole upload of 1000 still fits.
        for i in range(3):
            self.store('STOR 2026121014300%d.tvx' % i, b'x' * 900)
        self.assertTrue(self.refusal(lambda: self.store('STOR 20261210143009.tvx', b'x'))
                        .startswith('452 The upload folder is full'))
        self.assertEqual(len(self.server.stored()), 3)
        os.remove(os.path.join(self.server.upload, '20261210143000.tvx'))
        self.store('STOR 20261210143009.tvx', b'x')
        self.assertEqual(len(self.server.stored()), 3)

    def test_every_upload_and_refusal_is_logged_with_the_address(self):
        address = '127.0.0.1:%d' % self.ftp.sock.getsockname()[1]
        self.store('STOR 20261210143005.tvx', b'recipe\r\n')
        self.refusal(lambda: self.store('STOR notes.txt', b'x'))
        self.refusal(lambda: self.store('STOR 20261210143006.tvx', b'x' * 2000))
        deadline = time.monotonic() + 5
        wanted = [r'upload 20261210143005\.tvx \(8 bytes\) from ' + re.escape(address),
                  r"refused upload 'notes\.txt' from " + re.escape(address) +
                  ': Only exchange files',
                  r'upload 20261210143006\.tvx from ' + re.escape(address) +
                  ' not stored: The file is larger than 1000 bytes']
        while time.monotonic() < deadline and not all(re.search(w, self.server.log())
                                                      for w in wanted):
            time.sleep(0.05)
        for pattern in wanted:
            self.assertRegex(self.server.log(), pattern)

    def test_an_address_holds_a_few_connections_only(self):
        # setUp holds one; two more fit, the fourth is turned away.
        more = [self.server.login(patient=True) for _ in range(2)]
        try:
            with self.assertRaises(ftplib.error_temp) as refused:
                self.server.login()
            self.assertTrue(str(refused.exception).startswith('421'))
        finally:
            for ftp in more:
                ftp.close()


if __name__ == '__main__':
    unittest.main()
