// Saving: a link that saves a Blob under a name, and a sentence beside it
// that is true when it is said: where a download usually goes on this
// device, or, in an iPad's Home Screen app, what to press in the share
// sheet, and whether the file was handed over.
'use strict';
const save = (() => {
  // A Home Screen web app on iPadOS cannot save through a link: there a
  // save goes to the share sheet.
  const sharing = navigator.standalone === true && typeof navigator.share === 'function';

  // Where a download usually goes on this device, and what a repeated name becomes.
  function whereTo(name) {
    const agent = navigator.userAgent;
    const again = `同じ 名前の ファイルが もう あると、${name.replace(/(\.[^.]*)$/, ' (1)$1')} の ように 数字が つきます。`;
    if (/iPad|iPhone/.test(agent) || (/Macintosh/.test(agent) && navigator.maxTouchPoints > 1)) {
      return `Safari に きかれたら、「ダウンロード」を おします（「表示」では ほぞんされません）。ファイルは ふつうは 「ファイル」アプリの 「ダウンロード」に 入ります。${again}`;
    }
    if (/CrOS/.test(agent)) return `ファイルは ふつうは 「ファイル」アプリの 「ダウンロード」に 入ります。${again}`;
    if (/Windows/.test(agent)) return `ファイルは ふつうは 「ダウンロード」フォルダーに 入ります。${again}`;
    return `ファイルは ふつうは 「ダウンロード」に 入ります。${again}`;
  }

  return {
    sharing,
    // Makes `link` save `blob` as `name`, with its sentence after it. The
    // URL lives until `release` (a save can be lost if it is revoked at the click).
    offer(link, blob, name) {
      link.download = name;
      link.href = URL.createObjectURL(blob);
      let where = link.nextElementSibling;
      if (!where || where.className !== 'where') {
        where = document.createElement('p');
        where.className = 'where';
        where.setAttribute('role', 'status');
        link.after(where);
      }
      where.hidden = true;
      const tell = (text) => {
        where.textContent = text;
        where.hidden = !text;
        if (text) where.scrollIntoView({ block: 'nearest' });
      };
      link.onclick = (event) => {
        if (!sharing) return tell(whereTo(name));
        event.preventDefault();
        tell('「"ファイル"に保存」を おして、ほぞんする フォルダーを えらんで、「保存」を おします。');
        navigator.share({ files: [new File([blob], name, { type: blob.type })] }).then(
          () => tell(`${name} を わたしました。`),
          (error) => tell(error && error.name === 'AbortError' ? 'まだ ほぞん されて いません。もう一度 おします。' : 'ほぞん できませんでした。もう一度 おします。'));
      };
    },
    // Frees the Blob behind a link made by `offer`.
    release(link) {
      if (link.href) URL.revokeObjectURL(link.href);
      link.removeAttribute('href');
    },
  };
})();
