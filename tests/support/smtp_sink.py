"""Loopback SMTP server for tests.

Usage: /usr/bin/python3 smtp_sink.py FOLDER [--user NAME --password SECRET]

Listens on 127.0.0.1 at a free port and prints the port on the first line of stdout. Every
accepted message becomes a folder FOLDER/message-NNNN (created complete, by rename) holding:
  sender       envelope sender
  recipients   accepted envelope recipients, one per line
  message.eml  the data as received
  subject      the Subject header decoded to UTF-8
  body         the first text/plain part decoded to UTF-8
  parts        the content type of every leaf part, one per line
  attachments/ one file per part that names a file, under that name, with the decoded bytes
A recipient containing "refuse" is answered 550. With --user and --password a client must log
in with exactly these before sending. The server stops on SIGTERM or when stdin closes.
"""
import argparse
import asyncio
import email
import email.policy
import logging
import os
import signal
import sys
import threading
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def write(path, data):
    with open(path, "wb") as out:
        out.write(data if isinstance(data, bytes) else data.encode("utf-8"))


def safe_name(name, index):
    name = os.path.basename(name or "")
    return name if name not in ("", ".", "..") else "unnamed-%d" % index


def save_message(folder, number, envelope):
    incoming = os.path.join(folder, ".incoming-%04d" % number)
    os.makedirs(os.path.join(incoming, "attachments"))
    data = envelope.content if isinstance(envelope.content, bytes) else envelope.content.encode()
    write(os.path.join(incoming, "sender"), envelope.mail_from or "")
    write(os.path.join(incoming, "recipients"), "".join(r + "\n" for r in envelope.rcpt_tos))
    write(os.path.join(incoming, "message.eml"), data)
    message = email.message_from_bytes(data, policy=email.policy.default)
    write(os.path.join(incoming, "subject"), str(message.get("subject", "")))
    body = message.get_body(preferencelist=("plain",))
    write(os.path.join(incoming, "body"), body.get_content() if body is not None else "")
    leaves = [part for part in message.walk() if not part.is_multipart()]
    write(os.path.join(incoming, "parts"), "".join(p.get_content_type() + "\n" for p in leaves))
    for index, part in enumerate(leaves):
        if part.get_filename() is not None:
            name = safe_name(part.get_filename(), index)
            write(os.path.join(incoming, "attachments", name), part.get_payload(decode=True))
    os.rename(incoming, os.path.join(folder, "message-%04d" % number))


class Sink:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if "refuse" in address.lower():
            return "550 5.1.1 Recipient refused"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        save_message(self.folder, self.count, envelope)
        return "250 Message accepted"


def authenticator(user, password):
    def check(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword) and auth_data.login == user.encode()
              and auth_data.password == password.encode())
        # Not "handled": the server itself answers 535 to a failed login.
        return AuthResult(success=ok, handled=False)
    return check


async def serve(args):
    loop = asyncio.get_running_loop()
    options = {"hostname": "sink.test"}
    if args.user is not None:
        options.update(authenticator=authenticator(args.user, args.password or ""),
                       auth_required=True, auth_require_tls=False)
    handler = Sink(args.folder)
    server = await loop.create_server(lambda: SMTP(handler, **options), "127.0.0.1", 0)
    stop = asyncio.Event()
    loop.add_signal_handler(signal.SIGTERM, stop.set)

    def watch_stdin():
        while os.read(sys.stdin.fileno(), 4096):
            pass
        loop.call_soon_threadsafe(stop.set)

    threading.Thread(target=watch_stdin, daemon=True).start()
    print(server.sockets[0].getsockname()[1], flush=True)
    await stop.wait()
    server.close()
    await server.wait_closed()


def main():
    # Logging in without TLS is the point of a loopback test server; keep test output clean.
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.CRITICAL)
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--user")
    parser.add_argument("--password")
    asyncio.run(serve(parser.parse_args()))


if __name__ == "__main__":
    main()
