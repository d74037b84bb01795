#!/usr/bin/python3
"""The shared exchange server of the integration tests (the CTest fixture "exchange_server").

    exchange_fixture.py start --state DIR --cli CULVORA_CLI --server tools/exchange_server.py
    exchange_fixture.py start-hostile --state DIR --server hostile_ftp_server.py
    exchange_fixture.py stop --state DIR

start makes a fresh starter tree in DIR/root (culvora-cli exchange-init), starts the server on
a free loopback port with its output in DIR/server.log, and writes DIR/exchange.env:

    CULVORA_EXCHANGE_PORT=40123
    CULVORA_EXCHANGE_ADDRESS=ftp://culvora@127.0.0.1:40123
    CULVORA_EXCHANGE_ROOT=DIR/root
    CULVORA_EXCHANGE_PID=12345
    CULVORA_EXCHANGE_LOG=DIR/server.log

start-hostile starts the misbehaving server of hostile_ftp_server.py the same way (no tree, no
CULVORA_EXCHANGE_ROOT). stop ends a server by its PID (only when the PID is still that server)
and leaves the tree and the log for a look after a failure; the next start clears them.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WAIT_SECONDS = 15


def read_env(state):
    values = {}
    try:
        with open(os.path.join(state, 'exchange.env'), encoding='utf-8') as f:
            for line in f:
                key, _, value = line.rstrip('\n').partition('=')
                values[key] = value
    except FileNotFoundError:
        pass
    return values


def is_our_server(pid, server_script):
    """A PID from an earlier run may belong to another process by now."""
    try:
        with open('/proc/%d/cmdline' % pid, 'rb') as f:
            arguments = f.read().split(b'\0')
    except OSError:
        return False
    return os.fsencode(server_script) in arguments


def stop_server(state):
    env = read_env(state)
    pid = int(env.get('CULVORA_EXCHANGE_PID', '0') or 0)
    script = env.get('CULVORA_EXCHANGE_SERVER', '')
    if pid <= 0 or not script or not is_our_server(pid, script):
        return
    os.kill(pid, signal.SIGCONT)  # a test may have left it frozen
    os.kill(pid, signal.SIGTERM)
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline and is_our_server(pid, script):
        time.sleep(0.05)
    if is_our_server(pid, script):
        os.kill(pid, signal.SIGKILL)


def fresh_state(arguments):
    state = os.path.abspath(arguments.state)
    stop_server(state)
    shutil.rmtree(state, ignore_errors=True)
    os.makedirs(state)
    return state


def launch(state, server, arguments, values):
    """Starts the server script with the arguments and a port file, waits until it listens and
    writes DIR/exchange.env with the values and what stop needs."""
    port_file = os.path.join(state, 'port')
    log_path = os.path.join(state, 'server.log')
    with open(log_path, 'wb') as log, open(os.devnull, 'rb') as nothing:
        # Its own session and no pipe of ours: CTest waits for the output pipes of a test to
        # close, and a server holding them would keep this setup test running for ever.
        process = subprocess.Popen(
            [sys.executable, server] + arguments + ['--port', '0', '--port-file', port_file],
            stdin=nothing, stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
    deadline = time.monotonic() + WAIT_SECONDS
    while not os.path.exists(port_file):
        if process.poll() is not None or time.monotonic() > deadline:
            process.kill()
            with open(log_path, encoding='utf-8', errors='replace') as log:
                sys.exit('the exchange server did not start:\n' + log.read())
        time.sleep(0.02)
    with open(port_file, encoding='ascii') as f:
        port = int(f.read())
    values = dict(values, **{
        'CULVORA_EXCHANGE_PORT': str(port),
        'CULVORA_EXCHANGE_ADDRESS': 'ftp://culvora@127.0.0.1:%d' % port,
        'CULVORA_EXCHANGE_PID': str(process.pid),
        'CULVORA_EXCHANGE_LOG': log_path,
        'CULVORA_EXCHANGE_SERVER': server,
    })
    temporary = os.path.join(state, 'exchange.env.tmp')
    with open(temporary, 'w', encoding='utf-8') as f:
        f.write(''.join('%s=%s\n' % item for item in values.items()))
    os.replace(temporary, os.path.join(state, 'exchange.env'))
    return process.pid, port


def start(arguments):
    state = fresh_state(arguments)
    root = os.path.join(state, 'root')
    # culvora-cli wants a data folder; the tree is all this one needs from it.
    with tempfile.TemporaryDirectory() as data:
        made = subprocess.run([arguments.cli, '--data-dir', data, 'exchange-init', '--root', root],
                              capture_output=True, text=True)
    if made.returncode != 0:
        sys.exit('exchange-init failed: %s%s' % (made.stdout, made.stderr))
    # The tests run beside each other from one address: the per-address limit is tested on a
    # server of its own.
    pid, port = launch(state, os.path.abspath(arguments.server),
                       ['--root', root, '--host', '127.0.0.1', '--verbose',
                        '--max-connections-per-address', '64'],
                       {'CULVORA_EXCHANGE_ROOT': root})
    print('exchange server %d on port %d serving %s' % (pid, port, root))


def start_hostile(arguments):
    state = fresh_state(arguments)
    pid, port = launch(state, os.path.abspath(arguments.server), [], {})
    print('hostile FTP server %d on port %d' % (pid, port))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('action', choices=['start', 'start-hostile', 'stop'])
    parser.add_argument('--state', required=True)
    parser.add_argument('--cli')
    parser.add_argument('--server')
    arguments = parser.parse_args()
    if arguments.action == 'start':
        if not arguments.cli or not arguments.server:
            parser.error('start needs --cli and --server')
        start(arguments)
    elif arguments.action == 'start-hostile':
        if not arguments.server:
            parser.error('start-hostile needs --server')
        start_hostile(arguments)
    else:
        stop_server(os.path.abspath(arguments.state))


if __name__ == '__main__':
    main()
