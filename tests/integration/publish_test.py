#!/usr/bin/python3
"""The operator's side of the shared server: a recipe a user stored into tavendi/upload is
published with culvora-cli exchange-publish, and the next client that reads the category sees
it in netindex.txt and fetches the very bytes that were sent."""

import io
import os
import subprocess
import tempfile
import unittest

from exchange_helpers import ROOT, fetch, logged_in

RECIPE = ('[NAMN]\r\nBl\xe5b\xe4rssoppa\r\n[PORTIONER]\r\n4\r\n[TID]\r\n15\r\n[IND]\r\n'
          '5 dl bilberries\r\n1 l water\r\n1 dl sugar\r\n2 tbsp potato starch\r\n'
          '[G\xd6RA]\r\nBoil, thicken and serve warm or cold.\r\n[TYP]\r\nDesserts\r\n'
          ).encode('cp1252')


class Publish(unittest.TestCase):
    def test_an_upload_published_is_listed_and_served(self):
        stem = '1998%010d' % os.getpid()
        with logged_in() as ftp:
            ftp.cwd('tavendi/upload')
            ftp.storbinary('STOR %s.tvx' % stem, io.BytesIO(RECIPE))

        uploaded = os.path.join(ROOT, 'tavendi', 'upload', stem + '.tvx')
        with tempfile.TemporaryDirectory() as data:
            published = subprocess.run(
                [os.environ['CULVORA_CLI'], '--data-dir', data, 'exchange-publish', '--root', ROOT,
                 uploaded, 'desserts'], capture_output=True)
        self.assertEqual(published.returncode, 0, published.stderr)
        self.assertFalse(os.path.exists(uploaded))

        with logged_in() as ftp:
            lines = fetch(ftp, '/tavendi/desserts/netindex.txt').split(b'\r\n')
            self.assertIn(b'/end', lines)
            entries = lines[lines.index(b'/begin') + 1:lines.index(b'/end')]
            self.assertIn('Bl\xe5b\xe4rssoppa|'.encode('cp1252') + stem.encode(), entries)
            self.assertEqual(fetch(ftp, '/tavendi/desserts/%s.tvx' % stem), RECIPE)


if __name__ == '__main__':
    unittest.main()
