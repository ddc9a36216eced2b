// The learners' sheet: the site's address as a QR code, drawn as SVG (the
// page's policy allows no image from a data: URL), which the class view
// shows and the browser's print puts beside the steps. Only the site has
// the QR code's library.
'use strict';
const classSheet = {
  // Draws the address of the page into `into`, once.
  draw(into) {
    if (into.firstChild) return;
    const address = location.href.replace(/#.*$/, '');
    const code = qrcode(0, 'M');
    code.addData(address);
    code.make();
    const size = code.getModuleCount() + 8;
    let path = '';
    for (let row = 0; row < size - 8; row++) {
      for (let column = 0; column < size - 8; column++) if (code.isDark(row, column)) path += `M${column + 4} ${row + 4}h1v1h-1z`;
    }
    const svg = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
    svg.setAttribute('viewBox', `0 0 ${size} ${size}`);
    svg.setAttribute('shape-rendering', 'crispEdges');
    svg.setAttribute('role', 'img');
    svg.setAttribute('aria-label', `QR コード：${address}`);
    const dots = document.createElementNS('http://www.w3.org/2000/svg', 'path');
    dots.setAttribute('d', path);
    svg.append(dots);
    into.append(svg);
    return address;
  },
};
