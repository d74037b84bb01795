#!/usr/bin/python3
"""The exchange server's account against the shared server, through Python's ftplib: what the
program needs works (log in, list, read /tavendi, store into tavendi/upload, store the same name
again beside the first), and nothing else does."""

import concurrent.futures
import ftplib
import io
import os
import unittest

from exchange_helpers import PASSWORD, ROOT, USER, connect, fetch, logged_in, on_disk

TREE = os.path.join(ROOT, 'tavendi')
UPLOAD = os.path.join(TREE, 'upload')


class Account(unittest.TestCase):
    def setUp(self):
        self.ftp = logged_in()
        self.assertTrue(self.ftp.passiveserver)
        # A name no other test uses, so the tests can run beside each other.
        self.name = '1999%010d.tvx' % os.getpid()
        self.addCleanup(self.ftp.close)

    def tearDown(self):
        stem = self.name[:-len('.tvx')]
        for folder in (UPLOAD, TREE, ROOT, os.path.join(TREE, 'soups')):
            for name in (self.name, stem + '-2.tvx', stem + '-3.tvx'):
                try:
                    os.remove(os.path.join(folder, name))
                except FileNotFoundError:
                    pass

    def test_logins_other_than_the_account_are_refused(self):
        def refusal(user, password):
            with connect() as ftp:
                try:
                    ftp.login(user, password)
                except ftplib.error_perm as refused:
                    return str(refused)
                return 'logged in'

        # The server answers a failed login after a pause, so the attempts go in together.
        attempts = [('anonymous', 'cook@example.org'), ('ftp', ''), (USER, 'wrong'),
                    ('root', PASSWORD)]
        with concurrent.futures.ThreadPoolExecutor(len(attempts)) as pool:
            answers = list(pool.map(lambda attempt: refusal(*attempt), attempts))
        for (user, _), answer in zip(attempts, answers):
            self.assertTrue(answer.startswith('530'), '%s: %s' % (user, answer))

    def test_lists_and_reads_the_exchange(self):
        # The program lists the folder it logs into before anything else.
        self.assertIn('tavendi', self.ftp.nlst())
        self.assertEqual(fetch(self.ftp, '/tavendi/network.txt'),
                         on_disk(os.path.join(TREE, 'network.txt')))
        self.ftp.cwd('/tavendi/soups')
        names = self.ftp.nlst()
        self.assertIn('netindex.txt', names)
        recipe = next(name for name in names if name.endswith('.tvx'))
        self.assertEqual(fetch(self.ftp, recipe), on_disk(os.path.join(TREE, 'soups', recipe)))
        # ".." above the home goes nowhere: the account sees its own folder only.
        self.ftp.cwd('/../../..')
        self.assertEqual(self.ftp.pwd(), '/')
        self.assertIn('tavendi', self.ftp.nlst())

    def test_stores_into_upload_and_never_replaces(self):
        # Two uploads made in the same second share a name: the second goes in beside the first.
        self.ftp.cwd('tavendi/upload')
        stem = self.name[:-len('.tvx')]
        for content in (b'first\r\n', b'second, longer\r\n', b'third\r\n'):
            self.ftp.storbinary('STOR ' + self.name, io.BytesIO(content))
        self.assertEqual(on_disk(os.path.join(UPLOAD, self.name)), b'first\r\n')
        self.assertEqual(on_disk(os.path.join(UPLOAD, stem + '-2.tvx')), b'second, longer\r\n')
        self.assertEqual(on_disk(os.path.join(UPLOAD, stem + '-3.tvx')), b'third\r\n')

    def test_upload_is_a_drop_box(self):
        with open(os.path.join(UPLOAD, self.name), 'wb') as f:
            f.write(b'sent by someone else\r\n')
        self.ftp.cwd('/tavendi/upload')
        for what, call in [
            ('read', lambda: fetch(self.ftp, self.name)),
            ('list', lambda: self.ftp.nlst()),
            ('list long', lambda: self.ftp.retrlines('LIST', lambda line: None)),
            ('append', lambda: self.ftp.storbinary('APPE ' + self.name, io.BytesIO(b'x'))),
            ('delete', lambda: self.ftp.delete(self.name)),
            ('rename', lambda: self.ftp.rename(self.name, 'other.tvx')),
            ('new folder', lambda: self.ftp.mkd('inside')),
            ('size', lambda: self.ftp.size(self.name)),
        ]:
            with self.subTest(what):
                with self.assertRaises(ftplib.error_perm) as refused:
                    call()
                self.assertTrue(str(refused.exception).startswith('550'), refused.exception)
        self.assertEqual(on_disk(os.path.join(UPLOAD, self.name)), b'sent by someone else\r\n')

    def test_nothing_else_changes(self):
        published = os.path.join(TREE, 'soups', 'netindex.txt')
        before = on_disk(published)
        for what, call in [
            ('store in the home', lambda: self.ftp.storbinary('STOR /' + self.name,
                                                               io.BytesIO(b'x'))),
            ('store in tavendi', lambda: self.ftp.storbinary('STOR /tavendi/' + self.name,
                                                              io.BytesIO(b'x'))),
            ('store in a category', lambda: self.ftp.storbinary(
                'STOR /tavendi/soups/' + self.name, io.BytesIO(b'x'))),
            ('store over an index', lambda: self.ftp.storbinary(
                'STOR /tavendi/soups/netindex.txt', io.BytesIO(b'x'))),
            ('store out of upload', lambda: self.ftp.storbinary(
                'STOR /tavendi/upload/../soups/' + self.name, io.BytesIO(b'x'))),
            ('unique store in a category', lambda: (self.ftp.cwd('/tavendi/soups'),
                                                    self.ftp.storbinary('STOU', io.BytesIO(b'x')))),
            ('append', lambda: self.ftp.storbinary('APPE /tavendi/soups/netindex.txt',
                                                   io.BytesIO(b'x'))),
            ('delete', lambda: self.ftp.delete('/tavendi/soups/netindex.txt')),
            ('rename', lambda: self.ftp.rename('/tavendi/soups/netindex.txt', '/tavendi/x')),
            ('new folder', lambda: self.ftp.mkd('/tavendi/new')),
            ('new folder in the home', lambda: self.ftp.mkd('/new')),
            ('remove a folder', lambda: self.ftp.rmd('/tavendi/soups')),
            ('change mode', lambda: self.ftp.sendcmd('SITE CHMOD 777 /tavendi/soups/netindex.txt')),
            ('change time', lambda: self.ftp.sendcmd(
                'MFMT 20000101000000 /tavendi/soups/netindex.txt')),
        ]:
            with self.subTest(what):
                self.ftp.cwd('/')
                with self.assertRaises(ftplib.error_perm) as refused:
                    call()
                self.assertTrue(str(refused.exception).startswith('550'), refused.exception)
        self.assertEqual(on_disk(published), before)
        self.assertFalse(os.path.exists(os.path.join(TREE, 'new')))
        for folder in (ROOT, TREE, os.path.join(TREE, 'soups')):
            self.assertFalse(os.path.exists(os.path.join(folder, self.name)), folder)


if __name__ == '__main__':
    unittest.main()
