"""Another client as its users run it: vdirsyncer keeps a folder of .ics files
in step with the server, todoman reads and writes that folder.
  vdir_client.py URL USER PASSWORD DIR sync          vdirsyncer sync (set up once)
  vdir_client.py URL USER PASSWORD DIR list          todoman's list: SUMMARY|done, one a line
  vdir_client.py URL USER PASSWORD DIR new SUMMARY   todoman new; prints the UID
  vdir_client.py URL USER PASSWORD DIR file UID      the .ics file of that task"""
import glob
import json
import os
import subprocess
import sys


def run(args, env=None, stdin=None):
    done = subprocess.run(args, env=env, input=stdin, capture_output=True, text=True)
    if done.returncode != 0:
        sys.stderr.write(done.stdout + done.stderr)
        sys.exit(done.returncode)
    return done.stdout


def main():
    url, user, password, folder, command = sys.argv[1:6]
    config = os.path.join(folder, "vdirsyncer")
    env = dict(os.environ, VDIRSYNCER_CONFIG=config)
    todoman = ["/usr/bin/todoman", "--config", os.path.join(folder, "todoman.py")]
    if not os.path.exists(config):
        os.makedirs(os.path.join(folder, "tasks"), exist_ok=True)
        with open(config, "w", encoding="utf-8") as f:
            f.write(f'[general]\nstatus_path = "{folder}/status/"\n'
                    f'[pair tasks]\na = "local"\nb = "server"\ncollections = ["from b"]\n'
                    f'[storage local]\ntype = "filesystem"\npath = "{folder}/tasks/"\n'
                    f'fileext = ".ics"\n'
                    f'[storage server]\ntype = "caldav"\nurl = "{url}"\n'
                    f'username = "{user}"\npassword = "{password}"\n')
        with open(os.path.join(folder, "todoman.py"), "w", encoding="utf-8") as f:
            f.write(f'path = "{folder}/tasks/*"\ndate_format = "%Y-%m-%d"\n'
                    f'time_format = "%H:%M"\n')
        run(["/usr/bin/vdirsyncer", "discover"], env, "y\n" * 10)
    if command == "sync":
        run(["/usr/bin/vdirsyncer", "sync"], env)
    elif command == "list":
        for todo in json.loads(run(todoman + ["--porcelain", "list", "--status", "ANY"])):
            print(f"{todo['summary']}|{int(todo['completed'])}")
    elif command == "new":
        lists = [os.path.basename(p) for p in glob.glob(os.path.join(folder, "tasks", "*"))]
        run(todoman + ["new", "-l", lists[0], sys.argv[6]])
        newest = max(glob.glob(os.path.join(folder, "tasks", "*", "*.ics")), key=os.path.getmtime)
        with open(newest, encoding="utf-8") as f:
            print(next(l[4:].strip() for l in f if l.startswith("UID:")))
    elif command == "file":
        for path in glob.glob(os.path.join(folder, "tasks", "*", "*.ics")):
            with open(path, encoding="utf-8", newline="") as f:
                text = f.read()
            if f"\nUID:{sys.argv[6]}\r\n" in text or f"\nUID:{sys.argv[6]}\n" in text:
                sys.stdout.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
