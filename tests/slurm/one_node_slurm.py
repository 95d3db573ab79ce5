"""A one-node Slurm cluster that lives in a temporary folder: its own munge key
and munged, slurmctld and slurmd on free loopback ports, state, spool, logs
and pid files under the folder. The daemons run in the foreground as children
of this process, so they are stopped by their process ids whatever happens;
the folder is removed after them."""

import ctypes
import os
import pwd
import shutil
import signal
import socket
import subprocess
import tempfile
import time

DAEMONS = ("munged", "mungekey", "slurmctld", "slurmd")
COMMANDS = ("sbatch", "squeue", "sinfo", "scontrol", "scancel")


PR_SET_CHILD_SUBREAPER = 36


class ClusterCannotStart(Exception):
    """Slurm could not be brought up here; the text says why."""


def missing_programs():
    return [name for name in DAEMONS + COMMANDS if shutil.which(name, path=os.environ.get("PATH", "") + ":/usr/sbin:/sbin") is None]


def free_loopback_ports(count):
    """Ports nothing listens on now; each socket stays open until all are chosen so they differ."""
    sockets = []
    try:
        for _ in range(count):
            s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            s.bind(("127.0.0.1", 0))
            sockets.append(s)
        return [s.getsockname()[1] for s in sockets]
    finally:
        for s in sockets:
            s.close()


def clean_environment():
    """The caller's environment without any Slurm job's variables, so that a test run inside
    a job of a real cluster neither talks to that cluster nor passes its job to ours."""
    return {k: v for k, v in os.environ.items() if not k.startswith(("SLURM_", "SBATCH_", "SALLOC_", "SRUN_"))}


class OneNodeSlurm:
    def __init__(self):
        self.folder = None
        self.processes = {}
        self.env = None

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    @classmethod
    def started(cls, attempts=3):
        """A running cluster; a daemon that stops at start is tried again on fresh ports, since
        another program may take a port between its choice and the daemon's bind."""
        for attempt in range(attempts):
            try:
                return cls().__enter__()
            except ClusterCannotStart as why:
                if "stopped at start" not in str(why) or attempt == attempts - 1:
                    raise

    def __exit__(self, *exc):
        self.stop()
        return False

    def path(self, *parts):
        return os.path.join(self.folder, *parts)

    # Starting

    def start(self):
        missing = missing_programs()
        if missing:
            raise ClusterCannotStart("not installed: " + ", ".join(missing) + " (Debian's slurm-wlm and munge)")
        # slurmd's step daemons leave it at once; made ours, they are reaped and waited for here
        # instead of lingering as zombies of an init that may not collect them.
        ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
        self.folder = tempfile.mkdtemp(prefix="kavrin-slurm-")
        # munged wants every folder above its socket searchable by all, and its key private.
        os.chmod(self.folder, 0o711)
        for sub, mode in (("munge", 0o700), ("run", 0o755), ("state", 0o700), ("spool", 0o700), ("log", 0o700)):
            os.mkdir(self.path(sub), mode)
        self.env = clean_environment()
        self.env["PATH"] = self.env.get("PATH", "") + ":/usr/sbin:/sbin"
        self.env["SLURM_CONF"] = self.path("slurm.conf")
        self.start_munge()
        self.write_slurm_conf()
        self.start_daemon("slurmctld", ["slurmctld", "-D", "-f", self.path("slurm.conf")])
        self.start_daemon("slurmd", ["slurmd", "-D", "-f", self.path("slurm.conf")])
        self.wait_for_idle_node(20)

    def run_quietly(self, command, timeout=30):
        return subprocess.run(command, env=self.env, capture_output=True, text=True, timeout=timeout)

    def start_munge(self):
        key = self.path("munge", "munge.key")
        made = self.run_quietly(["mungekey", "--create", "--keyfile", key])
        if made.returncode != 0:
            raise ClusterCannotStart("mungekey could not make a key: " + made.stderr.strip())
        self.socket = self.path("run", "munge.socket")
        self.start_daemon("munged", ["munged", "--foreground", "--key-file=" + key, "--socket=" + self.socket,
                                     "--pid-file=" + self.path("run", "munged.pid"),
                                     "--log-file=" + self.path("log", "munged.log"),
                                     "--seed-file=" + self.path("munge", "munged.seed")])
        self.wait_until(lambda: os.path.exists(self.socket), 10, "munged made no socket")

    def write_slurm_conf(self):
        # slurmd's own view of the machine, so the node is never refused for claiming too much.
        node = self.run_quietly(["slurmd", "-C"]).stdout.splitlines()
        node_line = next((line for line in node if line.startswith("NodeName=")), None)
        if node_line is None:
            raise ClusterCannotStart("slurmd -C did not describe this machine")
        node_line = node_line.split(" UpTime=")[0]
        host = node_line.split()[0].split("=", 1)[1]
        controller_port, node_port = free_loopback_ports(2)
        settings = [
            "ClusterName=kavrintest",
            f"SlurmctldHost={host}(127.0.0.1)",
            f"SlurmctldPort={controller_port}",
            f"SlurmdPort={node_port}",
            "AuthType=auth/munge",
            "CredType=cred/munge",
            f"AuthInfo=socket={self.socket}",
            f"SlurmUser={self.user_name()}",
            f"SlurmdUser={self.user_name()}",
            # No systemd and no cgroup hierarchy of our own in a container: plain process tracking.
            "ProctrackType=proctrack/linuxproc",
            "TaskPlugin=task/none",
            "JobAcctGatherType=jobacct_gather/none",
            "AccountingStorageType=accounting_storage/none",
            "JobCompType=jobcomp/none",
            "MpiDefault=none",
            "SelectType=select/cons_tres",
            "SelectTypeParameters=CR_CPU",
            "ReturnToService=2",
            f"StateSaveLocation={self.path('state')}",
            f"SlurmdSpoolDir={self.path('spool')}",
            f"SlurmctldPidFile={self.path('run', 'slurmctld.pid')}",
            f"SlurmdPidFile={self.path('run', 'slurmd.pid')}",
            f"SlurmctldLogFile={self.path('log', 'slurmctld.log')}",
            f"SlurmdLogFile={self.path('log', 'slurmd.log')}",
            f"{node_line} NodeAddr=127.0.0.1 State=UNKNOWN",
            f"PartitionName=kavrin Nodes={host} Default=YES MaxTime=INFINITE State=UP",
        ]
        with open(self.path("slurm.conf"), "w") as conf:
            conf.write("\n".join(settings) + "\n")

    @staticmethod
    def user_name():
        return pwd.getpwuid(os.getuid()).pw_name

    def start_daemon(self, name, command):
        log = open(self.path("log", name + ".out"), "w")
        self.processes[name] = subprocess.Popen(command, env=self.env, stdout=log, stderr=subprocess.STDOUT,
                                                stdin=subprocess.DEVNULL)
        log.close()

    def wait_until(self, ready, seconds, failure):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            for name, process in self.processes.items():
                if process.poll() is not None:
                    raise ClusterCannotStart(f"{name} stopped at start (exit {process.returncode}):\n" + self.log_tail(name))
            if ready():
                return
            time.sleep(0.2)
        raise ClusterCannotStart(failure + " within " + str(seconds) + " s:\n" + self.log_tail("slurmctld") + self.log_tail("slurmd"))

    def wait_for_idle_node(self, seconds):
        def idle():
            state = self.run_quietly(["sinfo", "--noheader", "--Node", "--format=%t"])
            return state.returncode == 0 and state.stdout.split() == ["idle"]
        self.wait_until(idle, seconds, "the node did not become idle")

    def log_tail(self, name, lines=12):
        text = ""
        for file in (self.path("log", name + ".log"), self.path("log", name + ".out")):
            try:
                with open(file, errors="replace") as f:
                    text += "".join(f.readlines()[-lines:])
            except OSError:
                pass
        return text

    # Jobs

    def job_states(self, job_id):
        """Every task's state of a job (an array gives one per task), as scontrol keeps them after the end."""
        shown = self.run_quietly(["scontrol", "--oneliner", "show", "job", str(job_id)])
        states = []
        for line in shown.stdout.splitlines():
            fields = dict(field.split("=", 1) for field in line.split() if "=" in field)
            states.append((fields.get("ArrayTaskId", ""), fields.get("JobState", "?"), fields.get("ExitCode", "?")))
        return states

    def wait_for_jobs(self, job_ids, seconds):
        """Waits until none of the jobs is pending or running. Returns None then, or why it stopped
        waiting: time ran out, or a job waits on one that failed and so will never start."""
        deadline = time.monotonic() + seconds
        listed = ",".join(str(j) for j in job_ids)
        while time.monotonic() < deadline:
            queue = self.run_quietly(["squeue", "--noheader", "--jobs=" + listed, "--format=%i %T %r"])
            if queue.returncode == 0 and not queue.stdout.strip():
                return None
            if "DependencyNeverSatisfied" in queue.stdout:
                return "a job depends on one that failed:\n" + queue.stdout
            for name, process in self.processes.items():
                if process.poll() is not None:
                    return f"{name} stopped while the jobs ran:\n" + self.log_tail(name)
            time.sleep(0.5)
        return f"the jobs did not end within {seconds} s"

    # Stopping

    def cancel_every_job(self):
        if "slurmctld" not in self.processes or self.processes["slurmctld"].poll() is not None:
            return
        try:
            queue = self.run_quietly(["squeue", "--noheader", "--format=%i"], timeout=10).stdout.split()
            if queue:
                self.run_quietly(["scancel"] + queue, timeout=10)
                deadline = time.monotonic() + 15
                while time.monotonic() < deadline and self.run_quietly(["squeue", "--noheader"], timeout=10).stdout.strip():
                    time.sleep(0.5)
        except (OSError, subprocess.SubprocessError):
            pass

    def leftover_job_processes(self):
        """Processes that carry this cluster's SLURM_CONF: slurmstepd and job steps slurmd left behind."""
        marker = ("SLURM_CONF=" + self.path("slurm.conf")).encode() + b"\0"
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit() or int(entry) == os.getpid():
                continue
            try:
                with open(f"/proc/{entry}/environ", "rb") as f:
                    if marker in f.read():
                        found.append(int(entry))
            except OSError:
                pass
        return found

    def stop(self):
        self.cancel_every_job()
        # The node first, then the controller, then munge which both need to the end.
        for name in ("slurmd", "slurmctld", "munged"):
            process = self.processes.get(name)
            if process is None or process.poll() is not None:
                continue
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        if self.folder:
            self.end_leftover_job_processes(10)
            shutil.rmtree(self.folder, ignore_errors=True)
            self.folder = None

    def end_leftover_job_processes(self, seconds):
        """Gives the step daemons time to finish, then kills what is left; reaps them all."""
        deadline = time.monotonic() + seconds
        while self.leftover_job_processes() and time.monotonic() < deadline:
            reap_children()
            time.sleep(0.2)
        for pid in self.leftover_job_processes():
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        time.sleep(0.2)
        reap_children()


def reap_children():
    while True:
        try:
            pid, _ = os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            return
        if pid == 0:
            return
