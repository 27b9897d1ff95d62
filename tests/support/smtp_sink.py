"""Loopback SMTP server for tests.

Usage: /usr/bin/python3 smtp_sink.py FOLDER [--user NAME --password SECRET] [--fault FAULT]
                                            [--tls CERT KEY] [--discard]

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
in with exactly these before sending; every login attempt adds a line to FOLDER/logins, the
mechanism and the name the client gave ("PLAIN user"). With --tls the server offers STARTTLS
with that certificate and takes nothing, a login included, before the client has switched to
TLS. With --discard a message leaves only FOLDER/message-NNNN/size, its byte count, and no size
limit holds. A FAULT makes the server fail its clients:
  refuse-connect  greets with 554 and closes      refuse-mail  answers MAIL FROM with 553
  refuse-rcpt     answers every RCPT TO with 550  refuse-data  answers the data with 554
  stall-connect   never greets                    stall-data   does not answer the data
A stalled session ends when the client hangs up, which leaves the file FOLDER/client-hung-up,
or after 30 seconds, when the server gives up: then FOLDER/server-gave-up, and stall-data
answers 451. The server stops on SIGTERM or when stdin closes. With --lifeline PORT (for a
client that cannot hand it pipes: a Windows test under Wine) it connects to 127.0.0.1:PORT
instead, sends its port as the first line there and stops when that connection closes.
"""
import argparse
import asyncio
import email
import email.policy
import logging
import os
import signal
import socket
import ssl
import sys
import threading
import warnings

STALL_SECONDS = 30

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


def save_size(folder, number, envelope):
    incoming = os.path.join(folder, ".incoming-%04d" % number)
    os.makedirs(incoming)
    write(os.path.join(incoming, "size"), str(len(envelope.content)))
    os.rename(incoming, os.path.join(folder, "message-%04d" % number))


class Sink:
    def __init__(self, folder, fault, save):
        self.folder = folder
        self.fault = fault
        self.save = save
        self.count = 0

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        if self.fault == "refuse-mail":
            return "553 5.7.1 Sender refused"
        envelope.mail_from = address
        envelope.mail_options.extend(mail_options)
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if self.fault == "refuse-rcpt" or "refuse" in address.lower():
            return "550 5.1.1 Recipient refused"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if self.fault == "refuse-data":
            return "554 5.6.0 Message refused"
        if self.fault == "stall-data":
            if not await stall(self.folder):
                return "451 4.3.0 Gave up waiting"
        self.count += 1
        self.save(self.folder, self.count, envelope)
        return "250 Message accepted"


class Refusing(asyncio.Protocol):
    """Answers a new connection with 554 and closes it, as a server that takes no mail does."""

    def connection_made(self, transport):
        transport.write(b"554 5.3.2 No mail service here\r\n")
        transport.close()


async def stall(folder):
    """Waits for the client to hang up; False when it never did."""
    try:
        await asyncio.sleep(STALL_SECONDS)
    except asyncio.CancelledError:
        write(os.path.join(folder, "client-hung-up"), "")
        raise
    write(os.path.join(folder, "server-gave-up"), "")
    return False


class Stalling(asyncio.Protocol):
    """Takes the connection and never says a word."""

    def __init__(self, folder):
        self.folder = folder
        self.waiting = None

    def connection_made(self, transport):
        self.waiting = asyncio.ensure_future(stall(self.folder))
        self.waiting.add_done_callback(lambda _: transport.close())

    def connection_lost(self, exc):
        self.waiting.cancel()


def authenticator(folder, user, password):
    def check(server, session, envelope, mechanism, auth_data):
        login = auth_data.login if isinstance(auth_data, LoginPassword) else b""
        with open(os.path.join(folder, "logins"), "ab") as logins:
            logins.write(mechanism.encode() + b" " + login + b"\n")
        ok = (isinstance(auth_data, LoginPassword) and auth_data.login == user.encode()
              and auth_data.password == password.encode())
        # Not "handled": the server itself answers 535 to a failed login.
        return AuthResult(success=ok, handled=False)
    return check


async def serve(args):
    loop = asyncio.get_running_loop()
    options = {"hostname": "sink.test"}
    if args.discard:
        # Benchmarks send reports of hundreds of megabytes.
        options.update(data_size_limit=None)
    if args.tls:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(*args.tls)
        options.update(tls_context=context, require_starttls=True)
    if args.user is not None:
        options.update(authenticator=authenticator(args.folder, args.user, args.password or ""),
                       auth_required=True, auth_require_tls=bool(args.tls))
    handler = Sink(args.folder, args.fault, save_size if args.discard else save_message)
    if args.fault == "refuse-connect":
        protocol = Refusing
    elif args.fault == "stall-connect":
        protocol = lambda: Stalling(args.folder)
    else:
        protocol = lambda: SMTP(handler, **options)
    server = await loop.create_server(protocol, "127.0.0.1", 0)
    stop = asyncio.Event()
    loop.add_signal_handler(signal.SIGTERM, stop.set)

    port = server.sockets[0].getsockname()[1]
    if args.lifeline:
        lifeline = socket.create_connection(("127.0.0.1", args.lifeline))
        lifeline.sendall(b"%d\n" % port)
        receive = lambda: lifeline.recv(4096)
    else:
        print(port, flush=True)
        receive = lambda: os.read(sys.stdin.fileno(), 4096)

    def watch_client():
        try:
            while receive():
                pass
        except OSError:
            pass
        loop.call_soon_threadsafe(stop.set)

    threading.Thread(target=watch_client, daemon=True).start()
    await stop.wait()
    # Stalled sessions are cancelled when the loop ends; waiting for them would never end.
    server.close()


def main():
    # Logging in without TLS is the point of a loopback test server; keep test output clean.
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.CRITICAL)
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--user")
    parser.add_argument("--password")
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--discard", action="store_true")
    parser.add_argument("--lifeline", type=int)
    parser.add_argument("--fault", choices=["refuse-connect", "refuse-mail", "refuse-rcpt",
                                            "refuse-data", "stall-connect", "stall-data"])
    asyncio.run(serve(parser.parse_args()))


if __name__ == "__main__":
    main()
